// Entries prepared on worker threads and consumed in list order: entry i is prepared into
// slot i % slots, at most `slots` entries ahead of the consumer, so the memory held stays
// bounded and the consumer sees the same order as a single thread would give.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

template <typename t_slot, typename t_worker>
class t_orderedWork {
public:
    // Fills slot for entry index, using the calling worker's state.
    using t_prepare = std::function<void(size_t index, t_slot& slot, t_worker& worker)>;

    t_orderedWork(size_t count, size_t slots, t_prepare prepare)
        : m_count(count), m_slots(slots ? slots : 1), m_ready(m_slots.size(), 0), m_prepare(std::move(prepare))
    {}
    ~t_orderedWork() { Stop(); }
    t_orderedWork(const t_orderedWork&) = delete;
    t_orderedWork& operator=(const t_orderedWork&) = delete;

    // Starts up to workers workers on the system thread pool, whose threads outlive the
    // call: a thread of our own costs milliseconds to start and end under some systems.
    // Where none can be had, Take prepares on the caller.
    void Start(unsigned workers)
    {
        if (workers == 0)
            return;
        m_finished = CreateSemaphoreW(nullptr, 0, LONG(workers), nullptr);
        if (!m_finished)
            return;
        for (unsigned i = 0; i < workers; ++i) {
            if (!TrySubmitThreadpoolCallback(&t_orderedWork::Run, this, nullptr))
                break;
            ++m_workers;
        }
    }

    // Ends the workers once the entries they hold are prepared; returns when their
    // callbacks have returned, so the code they run may be unloaded afterwards.
    void Stop()
    {
        AcquireSRWLockExclusive(&m_lock);
        m_stop = true;
        ReleaseSRWLockExclusive(&m_lock);
        WakeAllConditionVariable(&m_wake);
        for (; m_workers > 0; --m_workers)
            WaitForSingleObject(m_finished, INFINITE);
        if (m_finished)
            CloseHandle(m_finished);
        m_finished = nullptr;
    }

    // The slot of entry index, once prepared (here, with own, when no worker runs).
    t_slot& Take(size_t index, t_worker& own)
    {
        t_slot& slot = m_slots[index % m_slots.size()];
        if (m_workers == 0) {
            m_prepare(index, slot, own);
            return slot;
        }
        AcquireSRWLockExclusive(&m_lock);
        while (m_ready[index % m_slots.size()] == 0)
            SleepConditionVariableSRW(&m_done, &m_lock, INFINITE, 0);
        ReleaseSRWLockExclusive(&m_lock);
        return slot;
    }

    // Entry index was consumed: its slot may take a later entry.
    void Release(size_t index)
    {
        AcquireSRWLockExclusive(&m_lock);
        m_ready[index % m_slots.size()] = 0;
        m_released = index + 1;
        ReleaseSRWLockExclusive(&m_lock);
        WakeAllConditionVariable(&m_wake);
    }

private:
    static void CALLBACK Run(PTP_CALLBACK_INSTANCE instance, void* context)
    {
        t_orderedWork* self = static_cast<t_orderedWork*>(context);
        // Counted only once this callback has returned.
        ReleaseSemaphoreWhenCallbackReturns(instance, self->m_finished, 1);
        self->Work();
    }

    void Work()
    {
        t_worker worker;
        for (;;) {
            AcquireSRWLockExclusive(&m_lock);
            while (!m_stop && m_next < m_count && m_next >= m_released + m_slots.size())
                SleepConditionVariableSRW(&m_wake, &m_lock, INFINITE, 0);
            if (m_stop || m_next >= m_count) {
                ReleaseSRWLockExclusive(&m_lock);
                return;
            }
            const size_t index = m_next++;
            ReleaseSRWLockExclusive(&m_lock);
            m_prepare(index, m_slots[index % m_slots.size()], worker);
            AcquireSRWLockExclusive(&m_lock);
            m_ready[index % m_slots.size()] = 1;
            ReleaseSRWLockExclusive(&m_lock);
            WakeAllConditionVariable(&m_done);
        }
    }

    const size_t m_count;
    std::vector<t_slot> m_slots;
    std::vector<char> m_ready;
    t_prepare m_prepare;
    HANDLE m_finished = nullptr;  // released once per worker whose callback returned
    unsigned m_workers = 0;
    // The system's own lock and condition variables: the C++ library's go through a kernel
    // object on every wait under some systems.
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_wake = CONDITION_VARIABLE_INIT;  // workers: a slot came free, or stop
    CONDITION_VARIABLE m_done = CONDITION_VARIABLE_INIT;  // the consumer: a slot is ready
    size_t m_next = 0;
    size_t m_released = 0;
    bool m_stop = false;
};

// Worker threads worth starting for parallel entries: the cores present, at most limit.
inline unsigned WorkerCount(size_t parallel, unsigned limit)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (parallel < 2)
        return 0;
    return unsigned(std::min<size_t>(std::min(cores, limit), parallel));
}
