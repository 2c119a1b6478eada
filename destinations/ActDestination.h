#pragma once

#include "ContactDestination.h"

class ActConnection;
class ActHost;

// ACT! (the stand-in on Linux): the field list ACT! offers and the contact it shows.
class ActDestination : public ContactDestination
{
public:
    ActDestination(ActConnection &act, ActHost &host) : m_act(act), m_host(host) {}

    Outcome LoadFields(FieldRows &rows, const Settings &settings) override;
    Outcome Write(bool isNew, const FieldRows &rows, const RecognitionContext &context) override;

private:
    ActConnection &m_act;
    ActHost &m_host;
};
