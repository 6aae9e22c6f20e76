#pragma once

#include "transfer/export/PTExportOutputOptionSet.h"

// The presets made in code: Web, macOS, iOS, Android and Windows Phone, each a group of named sub-presets that
// hold the outputs. Their identifiers are compared and remembered, so they never change.
namespace PTExportBuiltInPresets {

// The five, made afresh, in the order they are defined.
QList<PTExportOutputOptionSet> all();
// Menu order: higher sort first, then by name without regard to case.
void sortForMenu(QList<PTExportOutputOptionSet>& sets);

} // namespace PTExportBuiltInPresets
