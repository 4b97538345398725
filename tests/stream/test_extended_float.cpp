#include "stream/extended_float.h"
#include "test_registry.h"

#include <QRandomGenerator>
#include <QTest>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

TExtended80 ext(std::uint64_t mantissa, std::uint16_t signExp)
{
    TExtended80 x{};
    for (int i = 0; i < 8; ++i)
        x[i] = std::uint8_t(mantissa >> (8 * i));
    x[8] = std::uint8_t(signExp);
    x[9] = std::uint8_t(signExp >> 8);
    return x;
}

QByteArray hex(const TExtended80& x) { return QByteArray(reinterpret_cast<const char*>(x.data()), 10).toHex(' '); }

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

} // namespace

class TestExtendedFloat : public QObject {
    Q_OBJECT
private slots:
    void knownEncodings_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one") << 1.0 << QByteArray("00 00 00 00 00 00 00 80 ff 3f");
        QTest::newRow("minus two") << -2.0 << QByteArray("00 00 00 00 00 00 00 80 00 c0");
        QTest::newRow("zero") << 0.0 << QByteArray("00 00 00 00 00 00 00 00 00 00");
        QTest::newRow("minus zero") << -0.0 << QByteArray("00 00 00 00 00 00 00 00 00 80");
        QTest::newRow("0.5") << 0.5 << QByteArray("00 00 00 00 00 00 00 80 fe 3f");
        QTest::newRow("10") << 10.0 << QByteArray("00 00 00 00 00 00 00 a0 02 40");
        QTest::newRow("infinity") << HUGE_VAL << QByteArray("00 00 00 00 00 00 00 80 ff 7f");
        QTest::newRow("smallest denormal") << std::numeric_limits<double>::denorm_min()
                                           << QByteArray("00 00 00 00 00 00 00 80 cd 3b");
    }
    void knownEncodings()
    {
        QFETCH(double, value);
        QFETCH(QByteArray, bytes);
        QCOMPARE(hex(doubleToExtended(value)), bytes);
        QVERIFY(sameBits(extendedToDouble(doubleToExtended(value)), value));
    }

    // Every double survives the trip through 80 bits, denormals and NaN payloads included.
    void doubleRoundTrip()
    {
        QRandomGenerator rng(1234);
        const double specials[] = {DBL_MAX, -DBL_MAX, DBL_MIN, DBL_MIN / 3, -DBL_MIN / 7, 0.1, 1e300, -1e-310,
                                   std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::signaling_NaN(), -HUGE_VAL};
        for (double d : specials)
            QVERIFY2(sameBits(extendedToDouble(doubleToExtended(d)), d), qPrintable(QString::number(d)));
        for (int i = 0; i < 200000; ++i) {
            const double d = std::bit_cast<double>(rng.generate64());
            QVERIFY(sameBits(extendedToDouble(doubleToExtended(d)), d));
        }
    }

    void roundingToNearestEven_data()
    {
        QTest::addColumn<quint64>("mantissa");
        QTest::addColumn<int>("exponent");
        QTest::addColumn<double>("expected");
        const quint64 one = quint64(1) << 63;
        // 1 + half an ulp of double: a tie, rounds to even (1.0).
        QTest::newRow("tie down to even") << (one | (quint64(1) << 10)) << 16383 << 1.0;
        // 1 + 3 half ulps: a tie between odd and even, rounds up to 1 + 2 ulps.
        QTest::newRow("tie up to even") << (one | (quint64(3) << 10)) << 16383 << (1.0 + 2 * DBL_EPSILON);
        QTest::newRow("just above half") << (one | (quint64(1) << 10) | 1) << 16383 << (1.0 + DBL_EPSILON);
        QTest::newRow("just below half") << (one | ((quint64(1) << 10) - 1)) << 16383 << 1.0;
        // All ones rounds up across the binade.
        QTest::newRow("carry into exponent") << ~quint64(0) << 16383 << 2.0;
        // Beyond the double range.
        QTest::newRow("overflow") << one << 16383 + 1024 << HUGE_VAL;
        QTest::newRow("largest rounds to inf") << ~quint64(0) << 16383 + 1023 << HUGE_VAL;
        // 2^-1075 is exactly half the smallest denormal: ties to zero; a bit more gives it.
        QTest::newRow("half denormal") << one << 16383 - 1075 << 0.0;
        QTest::newRow("above half denormal") << (one | 1) << 16383 - 1075
                                             << std::numeric_limits<double>::denorm_min();
        QTest::newRow("far underflow") << one << 1 << 0.0;
        QTest::newRow("denormal exact") << one << 16383 - 1030 << std::ldexp(1.0, -1030);
        // Extended denormal (exponent 0) and unnormal encodings by their value.
        QTest::newRow("extended denormal") << quint64(1) << 0 << 0.0;
        QTest::newRow("unnormal") << (quint64(1) << 62) << 16384 << 1.0;
    }
    void roundingToNearestEven()
    {
        QFETCH(quint64, mantissa);
        QFETCH(int, exponent);
        QFETCH(double, expected);
        QVERIFY(sameBits(extendedToDouble(ext(mantissa, std::uint16_t(exponent))), expected));
        QVERIFY(sameBits(extendedToDouble(ext(mantissa, std::uint16_t(exponent | 0x8000))), -expected));
    }

    void nanAndInfinity()
    {
        QVERIFY(std::isinf(extendedToDouble(ext(quint64(1) << 63, 0xFFFF))));
        QVERIFY(extendedToDouble(ext(quint64(1) << 63, 0xFFFF)) < 0);
        QVERIFY(std::isnan(extendedToDouble(ext(0xC000000000000000ull, 0x7FFF))));
        // Payload only below the double's fraction: still a NaN, not an infinity.
        QVERIFY(std::isnan(extendedToDouble(ext(0x8000000000000001ull, 0x7FFF))));
    }

    // On x86 the compiler's long double is the same format: the hardware conversion is
    // the reference for random normal values.
    void matchesHardware()
    {
#if defined(__x86_64__) || defined(__i386__)
        static_assert(LDBL_MANT_DIG == 64);
        QRandomGenerator rng(99);
        for (int i = 0; i < 200000; ++i) {
            const quint64 m = rng.generate64() | (quint64(1) << 63);
            // Exponents around the whole double range, including the denormal zone.
            const int e = 16383 - 1100 + int(rng.bounded(2200));
            const std::uint16_t se = std::uint16_t(e | (rng.bounded(2) ? 0x8000 : 0));
            const TExtended80 x = ext(m, se);
            long double ld;
            std::memset(&ld, 0, sizeof ld);
            std::memcpy(&ld, x.data(), 10);
            const double expect = double(ld);
            QVERIFY2(sameBits(extendedToDouble(x), expect), hex(x).constData());
        }
#else
        QSKIP("no x87 long double here");
#endif
    }
};
OV_TEST(TestExtendedFloat)
#include "test_extended_float.moc"
