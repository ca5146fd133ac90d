#pragma once
// The services struct of a test. Header-only.
//
//   Fake_Services services;                  // the struct as it was is given back at the end
//   services->Send_Modeless_Var = &progress;
//
//   Scoped_Service<BatchServices> slot(App_Services().Batch_Services, this);
//                                            // one member, given back unless replaced since
// Fakes enter themselves with a Scoped_Service; a test that changes several
// members holds a Fake_Services, so nothing it entered outlives it.
#include "core/util/Services.h"

class Fake_Services {
public:
    Fake_Services() : m_saved(App_Services()) {}
    ~Fake_Services() { App_Services() = m_saved; }
    Fake_Services(const Fake_Services&) = delete;
    Fake_Services& operator=(const Fake_Services&) = delete;

    Services* operator->() const { return &App_Services(); }
    Services& operator*() const { return App_Services(); }

private:
    Services m_saved;
};

template <class Interface>
class Scoped_Service {
public:
    Scoped_Service(Interface*& slot, Interface* fake) : m_slot(slot), m_fake(fake), m_previous(slot) { slot = fake; }
    ~Scoped_Service()
    {
        if (m_slot == m_fake)
            m_slot = m_previous;
    }
    Scoped_Service(const Scoped_Service&) = delete;
    Scoped_Service& operator=(const Scoped_Service&) = delete;

private:
    Interface*& m_slot;
    Interface* m_fake;
    Interface* m_previous;
};
