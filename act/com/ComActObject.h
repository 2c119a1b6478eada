#pragma once

// ACT!'s automation objects over the COM client: the boundary's QVariants in,
// the client's values out, and every client error as one ActError.

#include "Automation.h"

#include "act/ActObject.h"

class ComActObject : public ActObject
{
public:
    explicit ComActObject(com::ObjectPtr object);

    QVariant Call(const QString &member, const QVariantList &arguments = {}) override;

    const com::ObjectPtr &Object() const { return m_object; }

private:
    com::ObjectPtr m_object;
};

// What the boundary hands to COM and back. Throw ActError for a value the other
// side cannot carry; `member` names the call in the message.
com::Value ToComValue(const QVariant &value, const QString &member, int position);
QVariant FromComValue(const com::Value &value);

// The German message for a failed call, with the COM result in hexadecimal.
QString ComErrorText(const com::Error &error);
