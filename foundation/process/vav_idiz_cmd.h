// The input method's utility executable "VavIdiz.exe", started with a number and switches.
#pragma once

#include "foundation/core/str.h"

// The utility's command switch for an id ("-sbp" for the skin box, 35); null for an id not
// in its table.
const wchar_t* VavIdizSwitch(int id);

class t_vavIdizCmd {
public:
    // Switch id of the skin box.
    static const int c_skinBoxSwitch = 35;

    // "<folder>\VavIdiz.exe" with the arguments " <number>".
    t_vavIdizCmd(const wchar_t* folder, int number);

    // Callers append further arguments before Run.
    t_str& Arguments() { return m_arguments; }
    const t_str& Path() const { return m_path; }
    // Opens the utility asynchronously; false when it is missing or launches are off.
    bool Run();

private:
    t_str m_arguments;
    t_str m_path;
    unsigned char m_flag = 0;
};
