#include "foundation/win/reg.h"

#include <cwchar>

namespace {

const wchar_t* RootName(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT)
        return L"CLASSES_ROOT";
    if (root == HKEY_CURRENT_USER)
        return L"CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE)
        return L"MACHINE";
    if (root == HKEY_USERS)
        return L"USERS";
    if (root == HKEY_DYN_DATA)
        return L"DYN_DATA";
    return nullptr;
}

}  // namespace

t_reg::t_reg(HKEY root)
{
    const wchar_t* name = RootName(root);
    if (name) {
        m_root = root;
        m_path.Assign(name);
    }
}

t_reg::~t_reg() { Close(); }

void t_reg::Close()
{
    if (m_key) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

bool t_reg::Open(t_errorChain& errors, const wchar_t* subKey, bool write, bool create)
{
    Close();
    REGSAM access = write ? KEY_ALL_ACCESS : KEY_READ;
    // The input method and its tools are 32-bit programs: the machine-wide keys shared
    // with them live in the 32-bit view, which a 64-bit program must ask for.
    if (m_root == HKEY_LOCAL_MACHINE)
        access |= KEY_WOW64_32KEY;
    const bool hasSubKey = subKey && subKey[0];
    LONG code = ERROR_INVALID_HANDLE;
    HKEY key = nullptr;
    if (hasSubKey) {
        m_path.AppendText(L"\\").AppendText(subKey);
        if (m_root) {
            if (create)
                code = RegCreateKeyExW(m_root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                                       nullptr);
            else
                code = RegOpenKeyExW(m_root, subKey, 0, access, &key);
        }
    } else if (m_root) {
        code = RegCreateKeyExW(m_root, L"", 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    }
    if (code == ERROR_SUCCESS) {
        m_key = key;
        return true;
    }
    AppendSystemErrorText(errors.NewLine(), static_cast<DWORD>(code));
    errors.NewLine()
        .AppendText(create || !hasSubKey ? L"创建注册表项失败：" : L"打开注册表项失败：")
        .AppendText(m_path.c_str());
    return false;
}

void t_reg::AppendValuePath(t_str& line, const wchar_t* valueName) const
{
    line.AppendText(m_path.c_str());
    if (valueName)
        line.AppendText(L"\\").AppendText(valueName);
}

bool t_reg::Query(t_errorChain& errors, const wchar_t* valueName, void* buffer, DWORD& size, DWORD expectedType)
{
    DWORD type = REG_NONE;
    DWORD bytes = size;
    const LONG code = RegQueryValueExW(m_key, valueName, nullptr, &type, static_cast<BYTE*>(buffer), &bytes);
    if (code != ERROR_SUCCESS) {
        AppendSystemErrorText(errors.NewLine(), static_cast<DWORD>(code));
        AppendValuePath(errors.NewLine().AppendText(L"读注册表失败："), valueName);
        return false;
    }
    if (type != expectedType) {
        AppendValuePath(errors.NewLine().AppendText(L"注册表键值类型不匹配："), valueName);
        return false;
    }
    size = bytes;
    return true;
}

bool t_reg::QueryString(t_errorChain& errors, const wchar_t* valueName, wchar_t* buffer, DWORD chars)
{
    // Keep the byte size within a DWORD; the last character is the only room a value
    // stored without its terminator leaves for one.
    if (chars > MAXDWORD / sizeof(wchar_t))
        chars = MAXDWORD / sizeof(wchar_t);
    if (!buffer || chars == 0) {
        AppendValuePath(errors.NewLine().AppendText(L"注册表字符串缓冲区为空："), valueName);
        return false;
    }
    DWORD bytes = chars * static_cast<DWORD>(sizeof(wchar_t));
    if (!Query(errors, valueName, buffer, bytes, REG_SZ)) {
        buffer[0] = 0;
        return false;
    }
    // A trailing odd byte is half a character: dropped.
    const DWORD count = bytes / sizeof(wchar_t);
    if (count > 0 && buffer[count - 1] == 0)
        return true;
    if (count < chars) {
        buffer[count] = 0;
        return true;
    }
    buffer[chars - 1] = 0;
    AppendValuePath(errors.NewLine().AppendText(L"注册表字符串过长，没有结束符的位置："), valueName);
    return false;
}

bool t_reg::Set(t_errorChain& errors, const wchar_t* valueName, const void* data, DWORD byteCount)
{
    const LONG code = RegSetValueExW(m_key, valueName, 0, REG_SZ, static_cast<const BYTE*>(data), byteCount);
    if (code == ERROR_SUCCESS)
        return true;
    AppendSystemErrorText(errors.NewLine(), static_cast<DWORD>(code));
    t_str& line = errors.NewLine().AppendText(L"设置注册表键值失败：").AppendText(m_path.c_str());
    if (valueName)
        line.AppendText(L"\\<<").AppendText(valueName).AppendText(L">>");
    return false;
}

bool t_reg::SetString(t_errorChain& errors, const wchar_t* text, const wchar_t* valueName)
{
    const wchar_t* value = text ? text : L"";
    const size_t length = wcslen(value);
    if (length > MAXDWORD / sizeof(wchar_t) - 1)
        return errors.Fail(L"注册表键值过长：%s", m_path.c_str());
    return Set(errors, valueName, value, static_cast<DWORD>(length * sizeof(wchar_t)));
}
