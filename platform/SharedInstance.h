#pragma once
// Components made on first use and shared for the rest of the run.

#include <exception>
#include <functional>
#include <memory>
#include <utility>

namespace tarvolen {

// A component's factory made nothing: the program cannot go on.
struct ComponentNotCreated : std::exception {
    const char* what() const noexcept override { return "a component could not be created"; }
};

// One instance of a component per run, made by its factory at the first call of any of its operations
// and kept until the program ends; every later caller gets the same instance.
template <class Component>
class SharedInstance {
public:
    using Factory = std::function<std::unique_ptr<Component>()>;

    explicit SharedInstance(Factory factory) : factory_(std::move(factory)) {}
    SharedInstance(const SharedInstance&) = delete;
    SharedInstance& operator=(const SharedInstance&) = delete;

    Component& Get() {
        if (!instance_) {
            instance_ = factory_();
            if (!instance_) {
                throw ComponentNotCreated();
            }
        }
        return *instance_;
    }

    bool IsCreated() const { return instance_ != nullptr; }

private:
    Factory factory_;
    std::unique_ptr<Component> instance_;
};

}  // namespace tarvolen
