#pragma once

// Element types of the node tree, numbered as the parser's dispatch table.
enum PTSVGNodeType : int {
    PTSVGNodeTypeGroup = 0,
    PTSVGNodeTypePath = 1,
    PTSVGNodeTypeDefs = 2,
    PTSVGNodeTypePolygon = 3,
    PTSVGNodeTypePolyline = 4,
    PTSVGNodeTypeRect = 5,
    PTSVGNodeTypeLine = 6,
    PTSVGNodeTypeCircle = 7,
    PTSVGNodeTypeEllipse = 8,
    PTSVGNodeTypeUse = 9,
    PTSVGNodeTypeLinearGradient = 10,
    PTSVGNodeTypeRadialGradient = 11,
    PTSVGNodeTypeClipPath = 12,
    PTSVGNodeTypeFont = 13,
    PTSVGNodeTypeGlyph = 14,
    PTSVGNodeTypeMask = 15,
    PTSVGNodeTypeImage = 16,
    PTSVGNodeTypePattern = 17,
    PTSVGNodeTypeSVG = 18,
    PTSVGNodeTypeText = 19,
    PTSVGNodeTypeTSpan = 20,
    PTSVGNodeTypeStyle = 21,
    PTSVGNodeTypeSwitch = 22,
    PTSVGNodeTypeUnknown = 23,
};
