// Entries prepared on worker threads and consumed in list order: entry i is prepared into
// slot i % slots, at most `slots` entries ahead of the consumer, so the memory held stays
// bounded and the consumer sees the same order as a single thread would give.
#pragma once

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
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
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_stop = true;
        }
        m_wake.notify_all();
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
        std::unique_lock<std::mutex> hold(m_lock);
        m_done.wait(hold, [&] { return m_ready[index % m_slots.size()] != 0; });
        return slot;
    }

    // Entry index was consumed: its slot may take a later entry.
    void Release(size_t index)
    {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_ready[index % m_slots.size()] = 0;
            m_released = index + 1;
        }
        m_wake.notify_all();
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
            size_t index = 0;
            {
                std::unique_lock<std::mutex> hold(m_lock);
                m_wake.wait(hold, [&] { return m_stop || m_next >= m_count || m_next < m_released + m_slots.size(); });
                if (m_stop || m_next >= m_count)
                    return;
                index = m_next++;
            }
            m_prepare(index, m_slots[index % m_slots.size()], worker);
            {
                std::lock_guard<std::mutex> hold(m_lock);
                m_ready[index % m_slots.size()] = 1;
            }
            m_done.notify_all();
        }
    }

    const size_t m_count;
    std::vector<t_slot> m_slots;
    std::vector<char> m_ready;
    t_prepare m_prepare;
    HANDLE m_finished = nullptr;  // released once per worker whose callback returned
    unsigned m_workers = 0;
    std::mutex m_lock;
    std::condition_variable m_wake;  // workers: a slot came free, or stop
    std::condition_variable m_done;  // the consumer: a slot is ready
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
