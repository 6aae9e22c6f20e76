#pragma once

#include <QString>
#include <QVariantMap>

#include <utility>
#include <variant>

namespace pt {

// A failure as callers across the libraries see it: a domain, a code and a user-info map. The two text keys
// below carry what an alert shows.
struct Error {
    static inline const QString LocalizedDescriptionKey = QStringLiteral("localizedDescription");
    static inline const QString LocalizedFailureReasonKey = QStringLiteral("localizedFailureReason");
    static inline const QString UnderlyingErrorKey = QStringLiteral("underlyingError");
    static inline const QString FilePathKey = QStringLiteral("filePath");

    QString domain;
    qint64 code = 0;
    QVariantMap userInfo;

    Error() = default;
    Error(QString domain, qint64 code, QVariantMap userInfo = {});
    // The common case: a domain, a code and the text to show.
    static Error withDescription(const QString& domain, qint64 code, const QString& description,
                                 const QString& failureReason = {});

    QString localizedDescription() const;
    QString localizedFailureReason() const;
    bool isNull() const { return domain.isEmpty(); }
    // "domain code: description", for logs.
    QString toString() const;

    friend bool operator==(const Error& a, const Error& b) { return a.domain == b.domain && a.code == b.code; }
};

// A value or the error that prevented it; the stand-in for std::expected, which our compiler lacks.
template <typename T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(state_); }
    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Error> state_;
};

// The result of work that answers nothing but success or an error.
template <>
class Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

private:
    Error error_;
    bool failed_ = false;
};

} // namespace pt
