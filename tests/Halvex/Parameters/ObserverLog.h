#pragma once

#include "Interfaces.h"

#include <functional>
#include <string>
#include <vector>

// Observers that append their name, and optionally what they read from the
// parameter at that moment, to one shared log, so tests can state the order
// and the state observers saw.
class ObserverLog {
public:
    class Observer : public IParameterObserver {
    public:
        Observer(ObserverLog& log, std::string name, std::function<std::string()> probe = nullptr)
            : log(log)
            , name(std::move(name))
            , probe(std::move(probe))
        {
        }
        void ParameterChanged() override { log.entries.push_back(probe ? name + ":" + probe() : name); }

    private:
        ObserverLog& log;
        std::string name;
        std::function<std::string()> probe;
    };

    std::vector<std::string> entries;
};
