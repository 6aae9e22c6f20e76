#include "sidebar/NameRefusal.h"

#include <QCoreApplication>

QString nameRefusal(const QString& name)
{
    for (const QChar c : name) {
        if (c == QLatin1Char('/'))
            return QCoreApplication::translate("PTSourceListController", "A name cannot contain \"/\".");
        if (c.isNull() || c.category() == QChar::Other_Control)
            return QCoreApplication::translate("PTSourceListController", "A name cannot contain control characters.");
    }
    return {};
}
