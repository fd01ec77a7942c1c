#pragma once

// Notices the installer and the updater share for their worker's failures.
extern const wchar_t* const kWorkerStartFailedText;     // the worker thread could not be created
extern const wchar_t* const kExtractFailedText;         // extraction, or a temporary file not written or checked
extern const wchar_t* const kRegistryWriteFailedText;   // the uninstall entry could not be written
