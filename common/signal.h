// Signal, Registry and Subscription: process-wide lists of callbacks (and of
// registered values) whose entries are owned by the one who registered them,
// so that nothing is ever called on an object that has gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kestrum {

namespace detail {
// What a subscription needs of its signal, whatever the signal's arguments.
class SignalCore {
public:
    virtual ~SignalCore() = default;
    virtual void Disconnect(std::uint64_t id) = 0;
};
}  // namespace detail

// One registration. Destroying or resetting it removes the callback; a
// subscription may outlive its signal and a signal its subscriptions.
// Movable, not copyable.
class Subscription {
public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept
        : core_(std::move(other.core_)), id_(std::exchange(other.id_, 0)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            Reset();
            core_ = std::move(other.core_);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { Reset(); }

    // Removes the callback now (nothing when already removed).
    void Reset() {
        if (auto core = core_.lock()) core->Disconnect(id_);
        core_.reset();
        id_ = 0;
    }

private:
    template <typename... Args>
    friend class Signal;
    template <typename T>
    friend class Registry;
    Subscription(std::weak_ptr<detail::SignalCore> core, std::uint64_t id) : core_(std::move(core)), id_(id) {}

    std::weak_ptr<detail::SignalCore> core_;
    std::uint64_t id_ = 0;
};

// Callbacks called in the order they were connected. A callback may connect
// or disconnect others (itself too) while it runs: one removed during a call
// is not called after its removal, one added is first called next time.
template <typename... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    Signal() : core_(std::make_shared<Core>()) {}
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Subscription Connect(Handler handler) {
        const std::uint64_t id = ++core_->lastId;
        core_->slots.push_back({id, std::make_shared<Handler>(std::move(handler))});
        return Subscription(core_, id);
    }

    void operator()(Args... args) const {
        // A copy: the list may change while the callbacks run.
        const std::vector<Slot> slots = core_->slots;
        for (const Slot& s : slots) {
            if (core_->Has(s.id) && *s.fn) (*s.fn)(args...);
        }
    }

    std::size_t Count() const { return core_->slots.size(); }
    explicit operator bool() const { return !core_->slots.empty(); }

private:
    struct Slot {
        std::uint64_t id;
        std::shared_ptr<Handler> fn;  // kept alive while it runs, even when removed meanwhile
    };
    struct Core : detail::SignalCore {
        std::vector<Slot> slots;
        std::uint64_t lastId = 0;
        bool Has(std::uint64_t id) const {
            for (const Slot& s : slots) {
                if (s.id == id) return true;
            }
            return false;
        }
        void Disconnect(std::uint64_t id) override {
            std::erase_if(slots, [id](const Slot& e) { return e.id == id; });
        }
    };
    std::shared_ptr<Core> core_;
};

// Values registered in turn, of which the newest still registered is in
// force: when its subscription goes, the one registered before it is in
// force again (whatever order the registrations go in).
template <typename T>
class Registry {
public:
    Registry() : core_(std::make_shared<Core>()) {}
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    [[nodiscard]] Subscription Register(T value) {
        const std::uint64_t id = ++core_->lastId;
        core_->entries.push_back({id, std::move(value)});
        return Subscription(core_, id);
    }

    // The value in force, null when none is registered; valid until the
    // registrations change.
    const T* Current() const { return core_->entries.empty() ? nullptr : &core_->entries.back().value; }
    std::size_t Count() const { return core_->entries.size(); }

private:
    struct Entry {
        std::uint64_t id;
        T value;
    };
    struct Core : detail::SignalCore {
        std::vector<Entry> entries;
        std::uint64_t lastId = 0;
        void Disconnect(std::uint64_t id) override {
            std::erase_if(entries, [id](const Entry& e) { return e.id == id; });
        }
    };
    std::shared_ptr<Core> core_;
};

}  // namespace kestrum
