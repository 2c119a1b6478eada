#include "RowRefills.h"

bool RowRefills::Run(const std::function<void()> &refill, const std::function<Extra()> &extra)
{
    if (m_depth > 0) {
        refill();
        return false;
    }
    const FieldRows::Snapshot before = m_rows.TakeSnapshot();
    Extra kept = extra();
    ++m_depth;
    try {
        refill();
    } catch (...) {
        --m_depth;
        throw;
    }
    --m_depth;
    FieldRows::Snapshot after = m_rows.TakeSnapshot();
    if (after == before)
        return false; // e.g. an empty clipboard: nothing replaced, nothing changes
    const bool userChanged = before != m_filled;
    m_filled = std::move(after);
    if (userChanged)
        m_offer = Offer{before, std::move(kept)};
    else
        m_offer.reset();
    return userChanged;
}

std::optional<RowRefills::Extra> RowRefills::Restore()
{
    if (!m_offer)
        return std::nullopt;
    Offer offer = std::move(*m_offer);
    m_offer.reset();
    m_rows.RestoreSnapshot(offer.Rows);
    return std::move(offer.Kept);
}
