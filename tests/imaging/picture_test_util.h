#pragma once
// Shared checks of the picture tests.
#include "imaging/picture_error.h"

#include <QTest>

// Runs `expr`, which must throw EPictureError whose reason contains `words`.
#define EXPECT_PICTURE_ERROR(expr, words)                                                    \
    do {                                                                                     \
        bool thrown_ = false;                                                                \
        try {                                                                                \
            (void)(expr);                                                                    \
        } catch (const EPictureError& e_) {                                                  \
            thrown_ = true;                                                                  \
            QVERIFY2(e_.reason().contains(words, Qt::CaseInsensitive), qPrintable(e_.reason())); \
        }                                                                                    \
        QVERIFY2(thrown_, "no EPictureError from " #expr);                                   \
    } while (false)
