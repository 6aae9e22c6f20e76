#pragma once

#include <QImageIOPlugin>

namespace pt {

// Makes JPEG 2000 ("jp2", and "j2k" for a bare codestream) a format of every QImageReader in the process. Qt's
// ICNS reader hands its JPEG 2000 elements on to whichever reader of that format is installed, so this is what
// lets those elements decode.
class Jpeg2000ImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "Jpeg2000ImagePlugin.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format = QByteArray()) const override;

    // Installs the plug-in among the process's static plug-ins; once, at start-up, before any picture is read.
    // Later calls do nothing.
    static void registerPlugin();
};

} // namespace pt
