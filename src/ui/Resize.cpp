// Proportional resize about the centre.
#include <QNUtilityClass.h>

#include <cmath>

namespace {

// Nearest whole number, halves away from zero, through a 32-bit integer. A
// value the integer cannot hold (or NaN) gives the processor's answer to
// such a conversion, -2147483648, instead of undefined behaviour.
double RoundThroughInt32(double value)
{
    const double shifted = value >= 0 ? value + 0.5 : value - 0.5;
    if (!(shifted > -2147483649.0 && shifted < 2147483648.0))
        return -2147483648.0;
    return static_cast<double>(static_cast<int>(shifted));
}

int Resize(double newOther, double along, double other, double start, double* pNewStart, double* pNewEnd)
{
    if (!pNewStart || !pNewEnd)
        return 0;
    const double size = along / other * newOther;
    const double newStart = RoundThroughInt32(along * 0.5 + start - size * 0.5);
    *pNewStart = newStart;
    *pNewEnd = RoundThroughInt32(size + newStart);
    return 1;
}

} // namespace

int CQNUtility::ResizePorportional_Width(double dNewHeight, double dWidth, double dHeight, double dLeft,
                                         double* pdNewLeft, double* pdNewRight)
{
    return Resize(dNewHeight, dWidth, dHeight, dLeft, pdNewLeft, pdNewRight);
}

int CQNUtility::ResizePorportional_Height(double dNewWidth, double dWidth, double dHeight, double dTop,
                                          double* pdNewTop, double* pdNewBottom)
{
    return Resize(dNewWidth, dHeight, dWidth, dTop, pdNewTop, pdNewBottom);
}
