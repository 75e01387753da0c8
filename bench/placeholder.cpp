#include <base/StringHash.h>
