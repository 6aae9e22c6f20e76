#include "platform/runtime/Logging.h"

Q_LOGGING_CATEGORY(lcPlatform, "pictern.platform")
Q_LOGGING_CATEGORY(lcStore, "pictern.store")
Q_LOGGING_CATEGORY(lcFoundation, "pictern.foundation")
Q_LOGGING_CATEGORY(lcLibrary, "pictern.library")
Q_LOGGING_CATEGORY(lcSvg, "pictern.svg")
Q_LOGGING_CATEGORY(lcUi, "pictern.ui")
Q_LOGGING_CATEGORY(lcBrowser, "pictern.browser")
Q_LOGGING_CATEGORY(lcApp, "pictern.app")
Q_LOGGING_CATEGORY(lcTransfer, "pictern.transfer")
Q_LOGGING_CATEGORY(lcSidebar, "pictern.sidebar")
