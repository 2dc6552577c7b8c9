// The counters of CountedElement.
#include "CountedElement.hpp"

ElementCounts CountedElement::counts;
