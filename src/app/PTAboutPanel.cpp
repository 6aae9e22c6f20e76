#include "app/PTAboutPanel.h"

#include "ui/PTApplicationIcon.h"
#include "ui/theme/PTStyles.h"

#include <QPixmap>
#include <QDate>
#include <QLabel>
#include <QVBoxLayout>

PTAboutPanel::PTAboutPanel(const QString& version, const QString& build, const QString& distribution, QWidget* parent)
    : PTPanel(parent)
    , buildField_(new QLabel(versionText(version, build, distribution), this))
    , copyrightField_(new QLabel(CopyrightFormat.arg(QDate::currentDate().year()), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("About Pictern"));
    setAccessibleName(tr("About Pictern"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 24, 30, 20);
    layout->setSpacing(8);
    auto* icon = new QLabel(this);
    icon->setAccessibleName(tr("Pictern icon"));
    icon->setPixmap(QPixmap::fromImage(PTApplicationIcon::image(96)));
    icon->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Pictern"), this);
    name->setAccessibleName(name->text());
    name->setFont(PTStyles::systemFont(20));
    name->setAlignment(Qt::AlignCenter);
    buildField_->setAccessibleName(tr("Version"));
    buildField_->setAlignment(Qt::AlignCenter);
    buildField_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    copyrightField_->setAccessibleName(tr("Copyright"));
    copyrightField_->setAlignment(Qt::AlignCenter);
    copyrightField_->setFont(PTStyles::systemFont(11));
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(buildField_);
    layout->addWidget(copyrightField_);
    setFixedSize(320, 260);
}

QString PTAboutPanel::versionText(const QString& version, const QString& build, const QString& distribution)
{
    const QString shownBuild = distribution.isEmpty() ? build : QStringLiteral("%1 %2").arg(distribution, build);
    return QStringLiteral("Version %1 (%2)").arg(version, shownBuild);
}
