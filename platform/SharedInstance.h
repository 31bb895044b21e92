#pragma once
// Components made on first use and shared for the rest of the run.

#include <functional>
#include <memory>
#include <utility>

#include "platform/Failure.h"

namespace tarvolen {

// One instance of a component per run, made by its factory at the first call of any of its operations
// and kept until the program ends; every later caller gets the same instance. A factory that makes
// nothing ends the program (EndOnFailure).
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
                EndOnFailure("a component could not be created", 0);
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
