#pragma once

#include <cstdint>

// The option bits of the SVG exporter; the cleaning bits run their passes in the order PTSVGExportCleaner lists.
using PTSVGExportOptions = std::uint32_t;

namespace PTSVGExport {
// Groups without children go; groups without attributes give way to their children.
constexpr PTSVGExportOptions RemoveEmptyGroups = 0x2;
constexpr PTSVGExportOptions RemoveEmptyDefs = 0x4;
// Runs of top-level elements sharing inheritable attributes move into a group carrying them.
constexpr PTSVGExportOptions GroupSharedAttributes = 0x8;
// Paths with repeated path data become "use" references to one shared path.
constexpr PTSVGExportOptions ReuseRepeatedPaths = 0x10;
constexpr PTSVGExportOptions SortAttributes = 0x20;
// Single-child groups hand their attributes down; identical neighbouring groups merge.
constexpr PTSVGExportOptions CollapseGroups = 0x40;
constexpr PTSVGExportOptions RelativePathData = 0x80;
constexpr PTSVGExportOptions RemoveHiddenElements = 0x100;
// An output size other than the view box wraps the content in a scaling group.
constexpr PTSVGExportOptions ScaleToSize = 0x200;
constexpr PTSVGExportOptions Compact = 0x400;
// Gradients repeating an earlier gradient's stops refer to it.
constexpr PTSVGExportOptions ShareGradientStops = 0x800;
constexpr PTSVGExportOptions CreateClasses = 0x1000;
// No width and height unless both differ from the view box.
constexpr PTSVGExportOptions RemoveWidthHeight = 0x2000;

// What the import writes every imported or split document with, and what icon export writes.
constexpr PTSVGExportOptions ImportOptions = 0x2BFE;
constexpr PTSVGExportOptions ExportOptions = 0x2FFE;
} // namespace PTSVGExport
