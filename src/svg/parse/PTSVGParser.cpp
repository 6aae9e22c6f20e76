#include "svg/parse/PTSVGParser.h"

#include "platform/runtime/Logging.h"
#include "svg/parse/PTSVGCommand.h"
#include "svg/PTSVGError.h"
#include "svg/parse/PTSVGParseBudget.h"
#include "svg/parse/PTSVGTreeBuilder.h"
#include "svg/dom/PTSVGXmlReader.h"

#include <QFile>

#include <new>

namespace {

PTSVGParser::Result parseDocument(std::unique_ptr<PTSVGXmlNode> document, const QString& errorMessage,
                                  const PTSVGParser::FoundSubSVG& foundSubSVG)
{
    if (!document) {
        qCDebug(lcSvg) << "XML not accepted:" << errorMessage;
        return PTSVGError::make(PTSVGError::XMLRejected);
    }
    return PTSVGParser::groupForElement(*document->firstElementChild(), foundSubSVG);
}

} // namespace

PTSVGParser::Result PTSVGParser::groupForFileURL(const QString& path, const FoundSubSVG& foundSubSVG)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize)
        return PTSVGError::make(PTSVGError::ReadFailed);
    const QByteArray data = file.readAll();
    if (data.size() != file.size())
        return PTSVGError::make(PTSVGError::ReadFailed);
    return groupForSVGData(data, foundSubSVG);
}

PTSVGParser::Result PTSVGParser::groupForSVGData(const QByteArray& data, const FoundSubSVG& foundSubSVG)
{
    QString message;
    auto document = PTSVGXmlReader::parse(data, &message);
    return parseDocument(std::move(document), message, foundSubSVG);
}

PTSVGParser::Result PTSVGParser::groupForSVGString(const QString& text, const FoundSubSVG& foundSubSVG)
{
    QString message;
    auto document = PTSVGXmlReader::parse(text, &message);
    return parseDocument(std::move(document), message, foundSubSVG);
}

PTSVGParser::Result PTSVGParser::groupForElement(const PTSVGXmlNode& root, const FoundSubSVG& foundSubSVG,
                                                 const QSizeF* parentViewport, PTSVGParseBudget* budget)
{
    PTSVGCommand::registerAll();
    auto parser = std::make_shared<PTSVGParser>();
    PTSVGParseBudget ownBudget;
    try {
        PTSVGTreeBuilder(*parser, root, foundSubSVG, parentViewport, budget ? *budget : ownBudget).parse();
    } catch (const std::bad_alloc&) {
        return PTSVGError::make(PTSVGError::BuildFailed);
    }
    const QRectF viewBox = parser->viewBox();
    if (!parser->isFont() && (viewBox.isNull() || !(viewBox.width() > 0) || !(viewBox.height() > 0)))
        return PTSVGError::make(PTSVGError::NoViewBox);
    return parser;
}

std::vector<std::shared_ptr<PTSVGParser>> PTSVGParser::subSVGs(bool recursive) const
{
    if (!recursive)
        return subSVGs_;
    std::vector<std::shared_ptr<PTSVGParser>> all;
    for (const auto& nested : subSVGs_) {
        all.push_back(nested);
        const auto deeper = nested->subSVGs(true);
        all.insert(all.end(), deeper.begin(), deeper.end());
    }
    return all;
}
