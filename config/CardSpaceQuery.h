#pragma once
// Capacity and free space of the file system holding a card root. The
// information page asks through this so that tests can give any size.
#include <QString>
#include <optional>

struct CardSpace {
    quint64 totalBytes = 0;
    // Every free byte on the file system, including those reserved for root.
    quint64 freeBytes = 0;
};

class CardSpaceQuery {
public:
    virtual ~CardSpaceQuery() = default;
    // nullopt when the file system cannot be asked (card gone). Thread-safe.
    virtual std::optional<CardSpace> Query(const QString& root) const = 0;
};
