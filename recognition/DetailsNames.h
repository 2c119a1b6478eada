#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

// The company names taken from "Details der ... schließen" lines, in the order
// the lines came. Each such line removes its name from every line taken before
// it, so a line is subjected to the names of all details lines after it, one
// after the other.
class DetailsNames
{
public:
    DetailsNames() = default;
    // It points into itself (m_lastNameSteps).
    DetailsNames(const DetailsNames &) = delete;
    DetailsNames &operator=(const DetailsNames &) = delete;

    void Add(const QString &name);
    int Count() const { return int(m_names.size()); }
    const QString &At(int index) const { return m_names[size_t(index)]; }

    // For each name from index `from` on, in order: remove every occurrence of
    // it from text, then trim blanks.
    void ApplyFrom(int from, QString &text) const;

private:
    // A name that does not occur in the trimmed text changes nothing, so only
    // the steps whose names occur are taken: with thousands of details lines,
    // trying every name on every line would grow with the square of the input.
    int nextStepOccurringIn(QStringView text, int from) const;

    std::vector<QString> m_names;
    QHash<QStringView, std::vector<int>> m_stepsByName; // ascending steps of each non-empty name
    std::vector<int> *m_lastNameSteps = nullptr; // of the name added last; no insertion since
    std::vector<qsizetype> m_lengths;            // of the non-empty names, ascending
    // Where no name begins, nothing is looked up; sized by the first name.
    std::vector<bool> m_beginsName;
};
