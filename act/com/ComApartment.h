#pragma once

// COM apartments for the calling thread. Windows only.

namespace com {

// Joins the calling thread to a single-threaded apartment for this object's
// life, as a test or a program's main() wants it.
class Apartment
{
public:
    Apartment();
    ~Apartment();
    Apartment(const Apartment &) = delete;
    Apartment &operator=(const Apartment &) = delete;

private:
    bool m_leaveOnDestruction = false;
};

// Makes sure the calling thread is in an apartment: joins a single-threaded one
// if it has none. Never leaves it again: objects may be released as late as the
// thread's end. A thread already in an apartment of either kind keeps it.
void EnsureApartment();

} // namespace com
