#pragma once
// The outcome of an operation that can fail: a value, or a message saying why
// not (for the log and, where a Part shows it, for the user). The toolchain's
// C++20 has no std::expected; this is the part of it the program needs.
//
//   Result<int> r = Parse(text);
//   if (!r) return Result<int>::Failure(r.error());
//   use(*r);
#include <QString>

#include <optional>
#include <utility>

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result Failure(QString message) { return Result(std::nullopt, std::move(message)); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only on success.
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    // Empty on success.
    const QString& error() const { return m_error; }

private:
    Result(std::nullopt_t, QString message) : m_error(std::move(message)) {}

    std::optional<T> m_value;
    QString m_error;
};

// Success carries nothing.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    static Result Failure(QString message)
    {
        Result r;
        r.m_failed = true;
        r.m_error = std::move(message);
        return r;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};
