#include "window/expression_history.h"

void ExpressionHistory::Record(const QString& expression) {
    if (!expression.isEmpty() && (entries_.isEmpty() || entries_.last() != expression)) {
        entries_.append(expression);
        characters_ += expression.size();
        while (entries_.size() > kMaxEntries || characters_ > kMaxCharacters)
            ForgetOldest();
    }
    position_ = entries_.size();
}

void ExpressionHistory::ForgetOldest() {
    characters_ -= entries_.first().size();
    entries_.removeFirst();
}

std::optional<QString> ExpressionHistory::Older(const QString& current) {
    qsizetype target = position_ - 1;
    if (position_ == entries_.size()) {
        draft_ = current;
        if (!entries_.isEmpty() && entries_.last() == current) --target;
    }
    if (target < 0) return std::nullopt;
    position_ = target;
    return entries_[position_];
}

std::optional<QString> ExpressionHistory::Newer() {
    if (position_ == entries_.size()) return std::nullopt;
    ++position_;
    return position_ == entries_.size() ? draft_ : entries_[position_];
}
