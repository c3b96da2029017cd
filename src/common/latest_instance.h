#pragma once

// Gives a class access to its latest object still alive, for the few objects that code
// everywhere reaches (the data module, the single-instance windows made at start-up).
// Objects must go in the reverse order of their making, as start-up's objects do.
template <typename T>
class LatestInstance {
public:
    LatestInstance(const LatestInstance&) = delete;
    LatestInstance& operator=(const LatestInstance&) = delete;

    static T* latest() { return s_latest; }

protected:
    LatestInstance() : m_previous(s_latest) { s_latest = static_cast<T*>(this); }
    ~LatestInstance() { s_latest = m_previous; }

private:
    T* m_previous;
    static inline T* s_latest = nullptr;
};
