#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <functional>

// Change-dictionary keys and the observation options of the key-value observation blocks.
namespace kvo {
inline const QString ChangeNewKey = QStringLiteral("new");
inline const QString ChangeOldKey = QStringLiteral("old");
enum Option : int { New = 0x1, Old = 0x2, Initial = 0x4 };
constexpr int DefaultOptions = New | Old;
} // namespace kvo

// One block observing one property of a QObject through the property's notify signal. It fires only when the
// value really changed (a change to a null value always fires) and never after invalidate().
class WSObservationBinding : public QObject {
    Q_OBJECT
public:
    using Block = std::function<void(QObject* observed, const QVariantMap& change)>;

    WSObservationBinding(QObject* observed, const QString& keyPath, QObject* owner, int options, Block block);
    ~WSObservationBinding() override;

    bool isValid() const { return valid_; }
    // Stops observing; the block is never called again.
    void invalidate();
    // Calls the block at once with the observed object and an empty change.
    void invoke();
    void clearBlock() { block_ = nullptr; }

    QObject* observed() const { return observed_; }
    const QString& keyPath() const { return keyPath_; }
    QObject* owner() const { return owner_; }

private slots:
    void observedValueChanged();

private:
    QVariant readValue() const;

    bool valid_ = true;
    Block block_;
    QPointer<QObject> observed_;
    QString keyPath_;
    QPointer<QObject> owner_;
    int options_;
    QVariant lastValue_;
    QMetaObject::Connection connection_;
};
