#pragma once
// Filling the engine's task parameter record. Texts that do not fit their
// fixed fields are refused, never cut or written past the field.

#include "xldl.h"

#include <QString>

#include <memory>

// The record that starts a download of url into folder/name; null when a text does not fit.
std::unique_ptr<XlTaskParams> engineStartParams(const QString &url, const QString &name, const QString &folder);
// The record naming a target whose temporary data is to go; null when a text does not fit.
std::unique_ptr<XlTaskParams> engineTargetParams(const QString &name, const QString &folder);
