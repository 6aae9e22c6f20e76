#pragma once

#include "library/entities/PTCollection.h"
#include "library/controllers/PTConfirmation.h"
#include "library/entities/PTItem.h"
#include "library/controllers/PTMenuBuilder.h"
#include "library/store/PTStoreStackHost.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/store/ObjectContext.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace pt::test {

// Answers every question as told and records the questions.
class FakeConfirmation : public PTConfirmation {
public:
    Answer answer;
    QStringList asked;
    Answer ask(const QString& title, const QString& text) override
    {
        asked << title + QLatin1Char('|') + text;
        return answer;
    }
};

// A current library package in a temporary folder with the store stack over its store file, as the shell sets
// them up at start-up. Each test gets a fresh library, stack and defaults.
class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    store::ObjectContext& context();
    // Runs the save path and waits for it; fails the test on an error.
    void saveAndWait();
    PTCollection* makeSet(const QString& name);
    // An item of the set whose file is a copy of the icon theme's SVG (by default a small one).
    PTItem* makeItem(PTCollection* set, const QString& name, const QString& fileName,
                     const QString& source = QString());
    QString libraryPath() const;
    // Lets go of the library and its store stack as a quitting application does, and opens them again as a
    // launch does: another process may use the library in between.
    void closeLibrary();
    void openLibrary();

    QTemporaryDir dir;
    // Set by a test that makes saves fail on purpose; their errors are collected instead of failing the test.
    bool saveFailuresExpected = false;
    QVector<pt::Error> saveErrors;
    std::shared_ptr<FakeConfirmation> confirmation = std::make_shared<FakeConfirmation>();

private:
    std::shared_ptr<PTStoreStackHost> host_;
};

// An SVG of the installed icon theme.
QString themeIcon(const QString& name = QStringLiteral("go-next"));

// Records entries as "title/action" and separators as "---", a submenu's entries indented below their entry.
class RecordingMenu : public PTMenuBuilder {
public:
    explicit RecordingMenu(QStringList* lines, QString indent = {}) : lines_(lines), indent_(std::move(indent)) {}
    void addItem(const QString& title, const QString& action, store::ManagedObject* object) override
    {
        *lines_ << indent_ + title + "/" + action;
        objects << object;
    }
    PTMenuBuilder& addSubmenuItem(const QString& title, const QString& action, store::ManagedObject* object) override
    {
        addItem(title, action, object);
        return submenus_.emplace_back(lines_, indent_ + "  ");
    }
    void addSeparator() override { *lines_ << indent_ + "---"; }
    QVector<store::ManagedObject*> objects;

private:
    QStringList* lines_;
    QString indent_;
    std::deque<RecordingMenu> submenus_;
};

// Records the notifications of the given names posted by any object.
class NotificationRecorder {
public:
    explicit NotificationRecorder(const QStringList& names);
    QStringList names;
    QVector<Notification> posted;
    QStringList postedNames() const;

private:
    std::vector<ObserverToken> tokens_;
};

} // namespace pt::test
