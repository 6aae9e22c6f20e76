#pragma once

#include <QMimeData>
#include <QStringList>

#include <memory>
#include <vector>

class PTPasteboardItemProvider;

// The icons of one copy or drag: text/uri-list with one file per provider and the item type with the object URIs
// (each item once), plus, for the clipboard, x-special/gnome-copied-files so that file managers paste the files.
// Nothing is exported until a receiver first asks for one of these; then every provider prepares, once.
class PTPasteboardMimeData : public QMimeData {
public:
    static inline const QString GnomeCopiedFilesType = QStringLiteral("x-special/gnome-copied-files");

    PTPasteboardMimeData(std::vector<std::unique_ptr<PTPasteboardItemProvider>> providers, bool clipboard,
                         const QStringList& excludedTypes = {});
    ~PTPasteboardMimeData() override;

    QStringList formats() const override;
    bool hasFormat(const QString& type) const override;
    const std::vector<std::unique_ptr<PTPasteboardItemProvider>>& providers() const { return providers_; }

protected:
    QVariant retrieveData(const QString& type, QMetaType preferredType) const override;

private:
    std::vector<std::unique_ptr<PTPasteboardItemProvider>> providers_;
    QStringList formats_;
};
