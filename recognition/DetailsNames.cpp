#include "DetailsNames.h"

#include "TextOps.h"

#include <algorithm>

void DetailsNames::Add(const QString &name)
{
    const bool sameAsLast = !m_names.empty() && m_names.back() == name;
    m_names.push_back(name);
    if (name.isEmpty())
        return;
    // A company's details lines often come one after the other: its steps are
    // at hand without looking the name up again.
    if (!sameAsLast) {
        // The key views the list's own copy, whose text stays in place.
        m_lastNameSteps = &m_stepsByName[QStringView(m_names.back())];
        if (m_beginsName.empty())
            m_beginsName.resize(0x10000);
        m_beginsName[name.front().unicode()] = true;
        const auto length = std::lower_bound(m_lengths.begin(), m_lengths.end(), name.size());
        if (length == m_lengths.end() || *length != name.size())
            m_lengths.insert(length, name.size());
    }
    m_lastNameSteps->push_back(Count() - 1);
}

int DetailsNames::nextStepOccurringIn(QStringView text, int from) const
{
    int next = Count();
    for (const qsizetype length : m_lengths) {
        for (qsizetype at = 0; at + length <= text.size(); ++at) {
            if (!m_beginsName[text[at].unicode()])
                continue;
            const auto steps = m_stepsByName.constFind(text.sliced(at, length));
            if (steps == m_stepsByName.cend())
                continue;
            const auto step = std::lower_bound(steps->begin(), steps->end(), from);
            if (step != steps->end())
                next = std::min(next, *step);
        }
    }
    return next;
}

void DetailsNames::ApplyFrom(int from, QString &text) const
{
    // The first step trims even when its name does not occur.
    for (int step = from; step < Count(); step = nextStepOccurringIn(text, step + 1)) {
        text.remove(m_names[size_t(step)]);
        text = TrimmedBlanks(text);
    }
}
