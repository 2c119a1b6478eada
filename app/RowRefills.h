#pragma once

#include "support/FieldRows.h"
#include "support/FieldValue.h"

#include <QList>

#include <functional>
#include <optional>

// Keeps the user's corrections from being lost to a refill of the rows (a
// capture, a re-recognised box, a field load): a refill that replaces rows the
// user had changed since they were last filled can be undone, once.
class RowRefills
{
public:
    // What a restore brings back besides the rows.
    struct Extra
    {
        QString BoxText;
        QList<FieldValue> DefinitionHits;
    };

    explicit RowRefills(FieldRows &rows) : m_rows(rows), m_filled(rows.TakeSnapshot()) {}

    // Runs `refill`; a refill inside another counts as part of it. Returns true
    // when it replaced rows the user had changed (a restore is then offered).
    bool Run(const std::function<void()> &refill, const std::function<Extra()> &extra);

    bool CanRestore() const { return m_offer.has_value(); }
    // Brings back the rows as they were before the refill, and returns what
    // else was kept; nothing when no restore is offered.
    std::optional<Extra> Restore();

private:
    struct Offer
    {
        FieldRows::Snapshot Rows;
        Extra Kept;
    };

    FieldRows &m_rows;
    FieldRows::Snapshot m_filled; // the rows as the last refill left them
    std::optional<Offer> m_offer;
    int m_depth = 0;
};
