// Event delivery and identifier hashing costs (ns per operation).
#include <base/StringHash.h>
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <event/MouseEvent.h>

#include <benchmark/benchmark.h>

namespace {

struct CountingListener : event::IListener {
    const char* Name() override { return "bench"; }
    bool HandleEvent(const event::IEvent&) override {
        ++count;
        return false;
    }
    long count = 0;
};

void BM_FireWithoutListener(benchmark::State& state) {
    event::Manager manager;
    CountingListener other;
    manager.AddListener(other, event::MouseEvent::kEventType);
    const event::KeyEvent key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    for (auto _ : state) {
        // Hidden from the optimiser, as a caller's event reference would be.
        const event::IEvent* ev = &key;
        benchmark::DoNotOptimize(ev);
        benchmark::DoNotOptimize(manager.Fire(*ev));
    }
}
BENCHMARK(BM_FireWithoutListener);

void BM_FireToOneListener(benchmark::State& state) {
    event::Manager manager;
    CountingListener listener;
    manager.AddListener(listener, event::KeyEvent::kEventType);
    const event::KeyEvent key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    for (auto _ : state) {
        const event::IEvent* ev = &key;
        benchmark::DoNotOptimize(ev);
        benchmark::DoNotOptimize(manager.Fire(*ev));
    }
    benchmark::DoNotOptimize(listener.count);
}
BENCHMARK(BM_FireToOneListener);

// One queued event delivered to one listener: allocation, queueing, Tick and destruction.
void BM_QueueAndTickOneEvent(benchmark::State& state) {
    event::Manager manager;
    CountingListener listener;
    manager.AddListener(listener, event::KeyEvent::kEventType);
    for (auto _ : state) {
        manager.QueueEvent(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_UP));
        manager.Tick();
    }
    benchmark::DoNotOptimize(listener.count);
}
BENCHMARK(BM_QueueAndTickOneEvent);

// A busy frame: 64 events of two types through one Tick; reported per event.
void BM_TickBatchPerEvent(benchmark::State& state) {
    event::Manager manager;
    CountingListener keys, mice;
    manager.AddListener(keys, event::KeyEvent::kEventType);
    manager.AddListener(mice, event::MouseEvent::kEventType);
    for (auto _ : state) {
        for (int i = 0; i < 32; ++i) {
            manager.QueueEvent(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_UP));
            manager.QueueEvent(new event::MouseEvent(event::MouseEvent::MOUSE_MOVED,
                                                     event::MouseEvent::MOUSE_BUTTON_NONE, {}));
        }
        manager.Tick();
    }
    state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_TickBatchPerEvent);

void BM_Hasherization(benchmark::State& state) {
    const char* text = "application_state_event";
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(base::StringHash::hasherization(text));
    }
}
BENCHMARK(BM_Hasherization);

} // namespace
