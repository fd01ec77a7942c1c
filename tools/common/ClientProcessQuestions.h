#pragma once

#include "window/WindowImplBase.h"

#include <string>

// Before a wizard writes into or removes a client folder: the client
// ("Orbela.exe") and then its updater ("Update.exe"), when one runs from that
// folder (see ProcessControl.h), are each asked about with a notice and ended
// on OK. False at the first question not answered with OK; nothing further is
// asked or ended then.
bool AskToStopClientProcesses(DirectUI::WindowImplBase* owner, const std::wstring& clientFolder,
                              const wchar_t* clientQuestion, const wchar_t* updaterQuestion);
