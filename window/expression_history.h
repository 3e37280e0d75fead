#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The expressions calculated in this session, walked newest first as a shell walks its
// history. Nothing is stored anywhere; the history ends with the window.
class ExpressionHistory {
  public:
    // Adds a calculated expression unless it repeats the newest one, and ends any walk.
    void Record(const QString& expression);

    // The next older expression for Up, given the field's text: when the field holds the newest
    // expression, the one before it. Nothing when there is no older one.
    std::optional<QString> Older(const QString& current);

    // The next newer expression for Down; past the newest, what the field held when the walk
    // began. Nothing when no walk is under way.
    std::optional<QString> Newer();

    // Bounds on what a long session keeps, far more than anyone walks back through: the oldest
    // entries go first once either is reached.
    static constexpr qsizetype kMaxEntries = 1000;
    static constexpr qsizetype kMaxCharacters = qsizetype{1} << 19;  // 1 MiB of UTF-16

  private:
    void ForgetOldest();

    QStringList entries_;       // oldest first
    qsizetype characters_ = 0;  // in all entries
    qsizetype position_ = 0;    // entries_.size() while not walking
    QString draft_;
};
