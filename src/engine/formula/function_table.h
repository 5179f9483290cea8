#pragma once

#include <QString>
#include <QStringView>

namespace engine::formula {

struct Operand;
class FunctionArgs;

// How a function takes a parameter: as a single value, or as a reference whose
// cells it looks at itself (SUM skips the text in a range but not a text typed as
// an argument). Decides the token class of the argument in the file, too.
enum class ParamClass { Value, Reference };

// One worksheet function: its name, its number in the file format's function
// table, how many arguments it takes, and its implementation.
struct FunctionInfo {
    const char* name;
    int biffIndex;
    int minArgs;
    int maxArgs;
    const char* paramClasses;  // 'V' or 'R' per parameter; the last letter repeats
    Operand (*evaluate)(FunctionArgs& args);

    // Functions with a fixed number of arguments are stored without their count.
    bool hasFixedArgCount() const { return minArgs == maxArgs; }
    ParamClass paramClass(int index) const;
    QString displayName() const { return QString::fromLatin1(name); }
};

// The function of that name (any case), or null.
const FunctionInfo* findFunction(QStringView name);
// The function with that number in the file format's table, or null.
const FunctionInfo* findFunctionByIndex(int biffIndex);

}  // namespace engine::formula
