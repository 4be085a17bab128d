// The four button types of a skin (0 built-in, 1 custom picture, 2 Flash, 3 photo
// frame): everything that depends on the type is answered by one process-wide helper.
#pragma once

class t_btnTypeHelper {
public:
    virtual ~t_btnTypeHelper() = default;

    // 0 <= index < Count().
    virtual bool IsValidIndex(int index) const;
    // How many buttons of the type there may be.
    virtual int Count() const = 0;
    // The button's INI key. Extra types format it into a buffer of the helper that the
    // next call overwrites: callers that keep it copy it. Null for an index outside
    // 0..Count()-1 of the built-in type.
    virtual const wchar_t* Key(int index) = 0;
    // The button's caption in the editor (same buffer rule as Key).
    virtual const wchar_t* Caption(int index) = 0;
    // The caption of one picture variant; the button caption where the variant has none.
    virtual const wchar_t* VariantCaption(int index, int variant) = 0;
    // How many picture variants the button has (1 to 3).
    virtual int VariantCount(int index) const = 0;
    // True when the key belongs to this type, with the button index in index.
    virtual bool ParseKey(const wchar_t* key, int& index) const = 0;
    // The key counting the buttons of the type; null for the built-in type.
    virtual const wchar_t* CountKey() const = 0;
};

// The thirteen built-in buttons.
class t_btnTypeHelper_Normal : public t_btnTypeHelper {
public:
    static const int c_count = 13;

    int Count() const override { return c_count; }
    const wchar_t* Key(int index) override;
    const wchar_t* Caption(int index) override;
    const wchar_t* VariantCaption(int index, int variant) override;
    int VariantCount(int index) const override;
    // Built-in keys are never recognised: they are found in a set's key map.
    bool ParseKey(const wchar_t* key, int& index) const override;
    const wchar_t* CountKey() const override { return nullptr; }
};

// Buttons numbered by a word and an index ("custom3"), counted by a key of their own.
class t_btnTypeHelper_Numbered : public t_btnTypeHelper {
public:
    static const int c_count = 100;
    static const int c_bufferChars = 20;

    int Count() const override { return c_count; }
    const wchar_t* Key(int index) override;
    const wchar_t* Caption(int index) override;
    const wchar_t* VariantCaption(int index, int variant) override;
    int VariantCount(int index) const override { return 1; }
    // The word anywhere in the key, then the decimal digits that follow it (0 without any).
    bool ParseKey(const wchar_t* key, int& index) const override;
    const wchar_t* CountKey() const override { return m_countKey; }

protected:
    t_btnTypeHelper_Numbered(const wchar_t* word, const wchar_t* captionWord, const wchar_t* countKey);

private:
    const wchar_t* m_word;
    const wchar_t* m_captionWord;
    const wchar_t* m_countKey;
    // The texts of every valid index, made once, so that a returned key or caption
    // stays valid however many others are asked for after it.
    wchar_t m_keys[c_count][c_bufferChars];
    wchar_t m_captions[c_count][c_bufferChars];
    // An index out of range is formatted here, valid until the next such call.
    wchar_t m_key[c_bufferChars];
    wchar_t m_caption[c_bufferChars];
};

class t_btnTypeHelper_Custom : public t_btnTypeHelper_Numbered {
public:
    t_btnTypeHelper_Custom();
};

class t_btnTypeHelper_Flash : public t_btnTypeHelper_Numbered {
public:
    t_btnTypeHelper_Flash();
};

class t_btnTypeHelper_PhotoFrame : public t_btnTypeHelper_Numbered {
public:
    t_btnTypeHelper_PhotoFrame();
};

// The helper of type 0..3, created on first use; null for any other type.
t_btnTypeHelper* TypeHelperOf(int type);
