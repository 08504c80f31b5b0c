// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <utility>

// Local time, injectable so that stamps can be tested.
class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime localNow() const = 0;
};

class TSystemClock final : public IClock {
public:
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
};

class TFixedClock final : public IClock {
public:
    explicit TFixedClock(QDateTime when) : when_(std::move(when)) {}
    QDateTime localNow() const override { return when_; }

private:
    QDateTime when_;
};
