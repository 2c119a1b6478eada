#include "DetailsNames.h"

#include "TextOps.h"

#include <algorithm>
#include <set>

namespace {

// Beyond this many runs still to apply, looking up which names occur in the
// text is cheaper than trying every run.
constexpr int DirectRunLimit = 64;

std::u16string_view viewOf(const QString &s, qsizetype from = 0, qsizetype length = -1)
{
    if (length < 0)
        length = s.size() - from;
    return {reinterpret_cast<const char16_t *>(s.constData()) + from, size_t(length)};
}

bool removeAndTrim(QString &text, const QString &name)
{
    if (name.isEmpty() || !text.contains(name))
        return false;
    text.remove(name);
    text = TrimmedBlanks(text);
    return true;
}

} // namespace

void DetailsNames::Add(const QString &name)
{
    m_names.push_back(name);
}

void DetailsNames::Prepare()
{
    m_runs.clear();
    m_runOf.assign(m_names.size(), 0);
    m_runsByName.clear();
    m_firstCharacters.assign(0x10000, false);
    m_lastCharacters.assign(0x10000, false);
    std::set<int> lengths;
    for (int i = 0; i < Count(); ++i) {
        if (m_runs.empty() || m_names[size_t(i)] != m_names[size_t(m_runs.back().begin)])
            m_runs.push_back({i, i + 1});
        else
            m_runs.back().end = i + 1;
        m_runOf[size_t(i)] = int(m_runs.size()) - 1;
    }
    for (int run = 0; run < int(m_runs.size()); ++run) {
        const QString &name = m_names[size_t(m_runs[size_t(run)].begin)];
        if (name.isEmpty())
            continue;
        m_runsByName[viewOf(name)].push_back(run);
        lengths.insert(int(name.size()));
        m_firstCharacters[name.front().unicode()] = true;
        m_lastCharacters[name.back().unicode()] = true;
    }
    m_lengths.assign(lengths.begin(), lengths.end());
}

void DetailsNames::applyRun(int run, int from, QString &text) const
{
    const QString &name = m_names[size_t(m_runs[size_t(run)].begin)];
    // Repeating a removal changes the text only while the name still occurs.
    for (int step = from; step < m_runs[size_t(run)].end; ++step) {
        if (!removeAndTrim(text, name))
            break;
    }
}

int DetailsNames::firstOccurringStep(const QString &text, int from) const
{
    int best = Count();
    for (int length : m_lengths) {
        if (length > text.size())
            break;
        for (qsizetype pos = 0; pos + length <= text.size(); ++pos) {
            if (!m_firstCharacters[text[pos].unicode()] ||
                !m_lastCharacters[text[pos + length - 1].unicode()])
                continue;
            const auto found = m_runsByName.find(viewOf(text, pos, length));
            if (found == m_runsByName.end())
                continue;
            const std::vector<int> &runs = found->second;
            const auto run =
                std::upper_bound(runs.begin(), runs.end(), from,
                                 [this](int step, int r) { return step < m_runs[size_t(r)].end; });
            if (run != runs.end())
                best = std::min(best, std::max(from, m_runs[size_t(*run)].begin));
        }
    }
    return best;
}

void DetailsNames::ApplyFrom(int from, QString &text) const
{
    if (from >= Count())
        return;
    // The first removal is done as it stands, trim included; after it the text
    // is trimmed, so a name that does not occur changes nothing.
    const QString &first = m_names[size_t(from)];
    if (!first.isEmpty())
        text.remove(first);
    text = TrimmedBlanks(text);

    int step = from + 1;
    while (step < Count() && !text.isEmpty()) {
        const int run = m_runOf[size_t(step)];
        if (int(m_runs.size()) - run <= DirectRunLimit) {
            applyRun(run, step, text);
            step = m_runs[size_t(run)].end;
            continue;
        }
        const int next = firstOccurringStep(text, step);
        if (next >= Count())
            break;
        const int nextRun = m_runOf[size_t(next)];
        applyRun(nextRun, next, text);
        step = m_runs[size_t(nextRun)].end;
    }
}
