#include "platform/graphics/Jpeg2000ImagePlugin.h"

#include "platform/graphics/Jpeg2000ImageHandler.h"

#include <mutex>

// Defined by the meta-object code included below, which this file compiles as a static plug-in.
extern const QStaticPlugin qt_static_plugin_Jpeg2000ImagePlugin();

namespace pt {

QImageIOPlugin::Capabilities Jpeg2000ImagePlugin::capabilities(QIODevice* device, const QByteArray& format) const
{
    if (format == "jp2" || format == "j2k")
        return CanRead;
    // Without a format Qt is guessing from the content, as its ICNS reader does for elements it cannot type.
    if (format.isEmpty() && device && device->isReadable() && Jpeg2000ImageHandler::canRead(device))
        return CanRead;
    return {};
}

QImageIOHandler* Jpeg2000ImagePlugin::create(QIODevice* device, const QByteArray& format) const
{
    auto* handler = new Jpeg2000ImageHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray("jp2") : format);
    return handler;
}

void Jpeg2000ImagePlugin::registerPlugin()
{
    static std::once_flag once;
    std::call_once(once, [] { qRegisterStaticPluginFunction(qt_static_plugin_Jpeg2000ImagePlugin()); });
}

} // namespace pt

#include "moc_Jpeg2000ImagePlugin.cpp"
