#include "test_registry.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <cstring>

// Usage: test_<module> [ClassName] [Qt Test options...]
// Without a class name every registered class runs.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const char* only = nullptr;
    std::vector<char*> args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!only && argv[i][0] != '-' && i == 1)
            only = argv[i];
        else
            args.push_back(argv[i]);
    }

    int failures = 0;
    int ran = 0;
    for (auto& [name, make] : ovtest::registry()) {
        if (only && std::strcmp(only, name) != 0)
            continue;
        auto test = make();
        failures += QTest::qExec(test.get(), int(args.size()), args.data());
        ++ran;
    }
    if (only && ran == 0) {
        fprintf(stderr, "No test class named %s\n", only);
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
