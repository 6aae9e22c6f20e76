#include "sidebar/inspector/PTOpenInApplicationChooser.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int IdentifierRole = Qt::UserRole + 1;

} // namespace

PTOpenInApplicationChooser::PTOpenInApplicationChooser(const QList<PTApplicationInfo>& applications, QWidget* parent)
    : QDialog(parent), applications_(applications), filter_(new QLineEdit(this)), list_(new QListWidget(this))
{
    setWindowTitle(tr("Choose Application"));
    setAccessibleName(windowTitle());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(applications_.begin(), applications_.end(),
              [&collator](const PTApplicationInfo& a, const PTApplicationInfo& b) {
                  return collator.compare(a.name, b.name) < 0;
              });
    filter_->setPlaceholderText(tr("Filter"));
    filter_->setAccessibleName(tr("Filter applications"));
    filter_->setClearButtonEnabled(true);
    list_->setAccessibleName(tr("Applications"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Open)->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(360, 420);

    connect(filter_, &QLineEdit::textChanged, this, &PTOpenInApplicationChooser::applyFilter);
    connect(list_, &QListWidget::currentRowChanged, this, [this, buttons] {
        buttons->button(QDialogButtonBox::Open)->setEnabled(chosenApplication().has_value());
    });
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    applyFilter({});
}

std::optional<PTApplicationInfo> PTOpenInApplicationChooser::choose(const QList<PTApplicationInfo>& applications,
                                                                    QWidget* parent)
{
    PTOpenInApplicationChooser chooser(applications, parent);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.chosenApplication();
}

QIcon PTOpenInApplicationChooser::iconForApplication(const PTApplicationInfo& application)
{
    if (application.iconName.isEmpty())
        return {};
    if (QFileInfo(application.iconName).isAbsolute())
        return QIcon(application.iconName);
    return QIcon::fromTheme(application.iconName);
}

std::optional<PTApplicationInfo> PTOpenInApplicationChooser::chosenApplication() const
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || item->isHidden())
        return std::nullopt;
    const QString identifier = item->data(IdentifierRole).toString();
    for (const PTApplicationInfo& application : applications_) {
        if (application.identifier == identifier)
            return application;
    }
    return std::nullopt;
}

void PTOpenInApplicationChooser::applyFilter(const QString& text)
{
    const QString needle = text.trimmed();
    list_->clear();
    for (const PTApplicationInfo& application : applications_) {
        if (!needle.isEmpty() && !application.name.contains(needle, Qt::CaseInsensitive) &&
            !application.identifier.contains(needle, Qt::CaseInsensitive))
            continue;
        auto* item = new QListWidgetItem(iconForApplication(application), application.name, list_);
        item->setData(IdentifierRole, application.identifier);
        item->setToolTip(application.identifier);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
}
