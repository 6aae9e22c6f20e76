#include "foundation/KVOBlockBinding.h"
#include "foundation/WSKeyPathBinding.h"
#include "foundation/WSObservation.h"

#include <gtest/gtest.h>

namespace {

// A small observable object: a text and a pointer property with notify signals.
class Model : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QObject* link READ link WRITE setLink NOTIFY linkChanged)
public:
    QString text() const { return text_; }
    // Like many setters, this one notifies even when the value stays the same.
    void setText(const QString& text)
    {
        text_ = text;
        emit textChanged();
    }
    QObject* link() const { return link_; }
    void setLink(QObject* link)
    {
        link_ = link;
        emit linkChanged();
    }
signals:
    void textChanged();
    void linkChanged();

private:
    QString text_;
    QObject* link_ = nullptr;
};

} // namespace

TEST(ObservationBlocks, FiresOnlyOnRealChangesAndAlwaysForNull)
{
    Model model;
    QObject owner;
    std::vector<QVariantMap> changes;
    KVOBlockBinding::addObserverForKeyPath(&model, "text", &owner,
                                           [&](QObject*, const QVariantMap& change) { changes.push_back(change); });
    model.setText("a");
    model.setText("a");
    model.setText("b");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].value(kvo::ChangeOldKey).toString(), "a");
    EXPECT_EQ(changes[1].value(kvo::ChangeNewKey).toString(), "b");

    int linkChanges = 0;
    KVOBlockBinding::addObserverForKeyPath(&model, "link", &owner, [&](QObject*, const QVariantMap&) { ++linkChanges; });
    model.setLink(nullptr);
    model.setLink(nullptr);
    EXPECT_EQ(linkChanges, 2);

    KVOBlockBinding::removeAllBlockBasedObserversForOwner(&model, &owner);
    model.setText("c");
    EXPECT_EQ(changes.size(), 2u);
}

TEST(ObservationBlocks, ObservationsEndWithTheObserver)
{
    Model model;
    int calls = 0;
    {
        QObject observer;
        WSObservation::observe(&observer, &model, "text", [&](QObject*, const QVariantMap&) { ++calls; });
        model.setText("x");
    }
    model.setText("y");
    EXPECT_EQ(calls, 1);
}

TEST(ObservationBlocks, UnbindKeyPathRemovesExactlyTheMatchingBinding)
{
    Model source, first, middle, last;
    source.setObjectName("source");
    WSKeyPathBinding::bindSourceKeyPath(&source, "text", &first, "objectName", false);
    WSKeyPathBinding::bindSourceKeyPath(&source, "link", &middle, "link", false);
    WSKeyPathBinding::bindSourceKeyPath(&source, "objectName", &last, "text", false);
    ASSERT_EQ(WSKeyPathBinding::keyPathBindingCount(&source), 3);

    WSKeyPathBinding::unbindKeyPath(&source, "link");
    EXPECT_EQ(WSKeyPathBinding::keyPathBindingCount(&source), 2);
    source.setText("t");
    source.setLink(&first);
    source.setObjectName("renamed");
    EXPECT_EQ(first.objectName(), "t");
    EXPECT_EQ(middle.link(), nullptr);
    EXPECT_EQ(last.text(), "renamed");
}

TEST(ObservationBlocks, TwoWayBindingSettlesWithoutLooping)
{
    Model a, b;
    WSKeyPathBinding::bindSourceKeyPath(&a, "text", &b, "text", true);
    a.setText("from a");
    EXPECT_EQ(b.text(), "from a");
    b.setText("from b");
    EXPECT_EQ(a.text(), "from b");
    WSKeyPathBinding::unbindAllKeyPaths(&a);
    a.setText("alone");
    EXPECT_EQ(b.text(), "from b");
}

#include "ObservationBlocksTest.moc"
