#pragma once

#include "svg/dom/PTSVGXmlNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Builds the ordered XML tree from text with QXmlStreamReader. Namespace processing is off (an undeclared
// prefix such as xlink: is fine); entities declared inside the document expand up to a limit; no external
// entity or DTD is ever loaded. Deeply nested or huge documents are refused.
class PTSVGXmlReader {
public:
    static constexpr int MaximumDepth = 256;
    static constexpr qsizetype MaximumNodeCount = 2'000'000;
    static constexpr int EntityExpansionLimit = 65536;

    // Raw bytes: the encoding comes from the XML declaration or the byte order mark, UTF-8 otherwise.
    static std::unique_ptr<PTSVGXmlNode> parse(const QByteArray& data, QString* errorMessage = nullptr);
    static std::unique_ptr<PTSVGXmlNode> parse(const QString& text, QString* errorMessage = nullptr);
};
