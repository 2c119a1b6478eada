#pragma once

#include <QString>

#include <string_view>
#include <unordered_map>
#include <vector>

// The company names taken from "Details der ... schließen" lines, in the order
// the lines came. Each such line removes its name from every line taken before
// it, so a line is subjected to the names of all details lines after it, one
// after the other. This applies that sequence to one text without visiting
// every earlier line per details line: runs of equal names are applied
// together, and with many names left only those that occur in the text are
// looked at.
class DetailsNames
{
public:
    void Add(const QString &name);
    int Count() const { return int(m_names.size()); }
    const QString &At(int index) const { return m_names[size_t(index)]; }

    // Call once after the last Add, before ApplyFrom.
    void Prepare();
    // For each name from index `from` on, in order: remove every occurrence of
    // it from text, then trim blanks.
    void ApplyFrom(int from, QString &text) const;

private:
    struct Run
    {
        int begin; // first index into m_names
        int end;   // one past the last
    };
    void applyRun(int run, int from, QString &text) const;
    int firstOccurringStep(const QString &text, int from) const;

    std::vector<QString> m_names;
    std::vector<Run> m_runs;
    std::vector<int> m_runOf; // name index -> run
    // Distinct non-empty names -> their runs, ascending.
    std::unordered_map<std::u16string_view, std::vector<int>> m_runsByName;
    std::vector<int> m_lengths; // distinct lengths of non-empty names, ascending
    // Characters that begin or end some name: most text positions are ruled out
    // before the table is asked.
    std::vector<bool> m_firstCharacters;
    std::vector<bool> m_lastCharacters;
};
