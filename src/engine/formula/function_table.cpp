#include "engine/formula/function_table.h"

#include "engine/formula/functions.h"

#include <cstring>
#include <iterator>

namespace engine::formula {

namespace {

// Numbers and parameter classes follow the file format's built-in function table.
const FunctionInfo kFunctions[] = {
    {"COUNT", 0, 1, 30, "R", functions::count},
    {"IF", 1, 2, 3, "VRR", functions::ifFunction},
    {"SUM", 4, 1, 30, "R", functions::sum},
    {"AVERAGE", 5, 1, 30, "R", functions::average},
    {"MIN", 6, 1, 30, "R", functions::min},
    {"MAX", 7, 1, 30, "R", functions::max},
    {"ABS", 24, 1, 1, "V", functions::abs},
    {"INT", 25, 1, 1, "V", functions::intFunction},
    {"ROUND", 27, 2, 2, "VV", functions::round},
    {"LEN", 32, 1, 1, "V", functions::len},
    {"AND", 36, 1, 30, "R", functions::andFunction},
    {"OR", 37, 1, 30, "R", functions::orFunction},
    {"NOT", 38, 1, 1, "V", functions::notFunction},
    {"MOD", 39, 2, 2, "VV", functions::mod},
    {"LOWER", 112, 1, 1, "V", functions::lower},
    {"UPPER", 113, 1, 1, "V", functions::upper},
    {"TRIM", 118, 1, 1, "V", functions::trim},
    {"COUNTA", 169, 1, 30, "R", functions::countA},
    {"PRODUCT", 183, 1, 30, "R", functions::product},
    {"ROUNDUP", 212, 2, 2, "VV", functions::roundUp},
    {"ROUNDDOWN", 213, 2, 2, "VV", functions::roundDown},
    {"CONCATENATE", 336, 1, 30, "V", functions::concatenate},
};

}  // namespace

ParamClass FunctionInfo::paramClass(int index) const {
    const int letters = static_cast<int>(std::strlen(paramClasses));
    const char letter = paramClasses[index < letters ? index : letters - 1];
    return letter == 'R' ? ParamClass::Reference : ParamClass::Value;
}

const FunctionInfo* findFunction(QStringView name) {
    for (const FunctionInfo& f : kFunctions)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

const FunctionInfo* findFunctionByIndex(int biffIndex) {
    for (const FunctionInfo& f : kFunctions)
        if (f.biffIndex == biffIndex) return &f;
    return nullptr;
}

}  // namespace engine::formula
