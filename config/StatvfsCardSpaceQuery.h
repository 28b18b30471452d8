#pragma once
// CardSpaceQuery from statvfs(2).
#include "config/CardSpaceQuery.h"

class StatvfsCardSpaceQuery : public CardSpaceQuery {
public:
    std::optional<CardSpace> Query(const QString& root) const override;
};
