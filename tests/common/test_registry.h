#pragma once
// One executable per module runs every test class registered with OV_TEST.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace ovtest {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<std::pair<const char*, Factory>>& registry()
{
    static std::vector<std::pair<const char*, Factory>> r;
    return r;
}

struct Registrar {
    Registrar(const char* name, Factory f) { registry().emplace_back(name, std::move(f)); }
};

} // namespace ovtest

#define OV_TEST(Class)                                                                   \
    static ovtest::Registrar ovRegistrar_##Class(#Class, [] { return std::make_unique<Class>(); });
