#include "foundation/process/vav_idiz_cmd.h"

#include "foundation/files/path.h"
#include "foundation/process/process_launch.h"

namespace {

struct t_switchRow {
    int id;
    const wchar_t* text;
    unsigned reserved;
};

// In the utility's own order: id 1 is absent and 19 stands before 18.
const t_switchRow c_switches[] = {
    {0, L"-d", 0},          {2, L"-u", 0},     {3, L"-f", 0},    {4, L"-w", 0},    {5, L"-sd", 0},   {6, L"-su", 0},
    {7, L"-se", 0},         {8, L"-rs", 0},    {9, L"-sh", 0},   {10, L"-ri", 0},  {11, L"-us", 0},  {12, L"-usa", 0},
    {13, L"-ac", 0},        {14, L"-sih", 0},  {15, L"-dih", 0}, {16, L"-ts", 0},  {17, L"-td", 0},  {19, L"-tcr", 0},
    {18, L"-smarthint", 0}, {20, L"-dr", 0},   {21, L"-drp", 0}, {22, L"-usr", 0}, {23, L"-srw", 0}, {24, L"-upr", 0},
    {25, L"-utp", 0},       {26, L"-jwp", 0},  {27, L"-npe", 0}, {28, L"-cim", 0}, {29, L"-uds", 0}, {30, L"-flf", 0},
    {31, L"-fls", 0},       {32, L"-fld", 0},  {33, L"-flv", 0}, {34, L"-udw", 0}, {35, L"-sbp", 0}, {36, L"-owp", 0},
    {37, L"-fwm", 0},       {38, L"-ulp", 0},  {39, L"-fne", 0}, {40, L"-upf", 0}, {41, L"-nue", 0}, {42, L"-pop", 0},
    {43, L"-elh", 0},       {44, L"-comp", 0}, {45, L"-inf", 0}, {46, L"-upc", 0}, {47, L"-dlf", 0}, {48, L"-fbb", 0},
    {0, nullptr, 0},
};

}  // namespace

const wchar_t* VavIdizSwitch(int id)
{
    for (const t_switchRow* row = c_switches; row->text; ++row)
        if (row->id == id)
            return row->text;
    return nullptr;
}

t_vavIdizCmd::t_vavIdizCmd(const wchar_t* folder, int number)
{
    t_path path(folder ? folder : L"");
    path.AppendPart(L"VavIdiz.exe");
    m_path = path;
    m_arguments.Format(L" %d", number);
}

bool t_vavIdizCmd::Run() { return OpenAsync(m_arguments.c_str(), m_path.c_str()); }
