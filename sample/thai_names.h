// Thai given names and family names for the sample school's students.
// Pure; thread-safe.
#pragma once

#include <string>

#include "sample/sample_random.h"

namespace marksend::sample {

std::string BoyFirstName(Random& random);
std::string GirlFirstName(Random& random);
// A family name, either a common one or built from two common parts.
std::string FamilyName(Random& random);

}  // namespace marksend::sample
