#include "Lv2/Lv2PortLayout.h"

#include <cmath>
#include <initializer_list>

namespace {

// Floats either side of the plain value searched for the best port value:
// wide enough for the coarsest case (a quadratic scale near its minimum).
constexpr int PortValueSearchSteps = 64;

} // namespace

float Lv2PortValue(const ParameterDescription& parameter, float normalised)
{
    const auto start = static_cast<float>(parameter.ToPlain(normalised));
    float best = start;
    float bestDistance = std::fabs(parameter.ToNormalised(start) - normalised);
    for (const float direction : {-HUGE_VALF, HUGE_VALF}) {
        float candidate = start;
        for (int step = 0; step < PortValueSearchSteps && bestDistance > 0.0f; ++step) {
            candidate = std::nextafter(candidate, direction);
            if (candidate < parameter.scale.minimum || candidate > parameter.scale.maximum) {
                break;
            }
            const float distance = std::fabs(parameter.ToNormalised(candidate) - normalised);
            if (distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    }
    return best;
}
