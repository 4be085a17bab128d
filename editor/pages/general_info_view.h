// The skin information page (dialog 130): the six descriptive texts of [General]. They do
// not change the preview, so an edit only marks the skin modified.
#pragma once

#include "editor/pages/sub_dialog.h"

class GeneralInfoView : public SubDialog {
public:
    static const int c_templateId = 130;
    static const int c_fieldCount = 6;
    // Characters the user can type into a field; the description holds more.
    static const int c_textLimit = 30;
    static const int c_infoLimit = 100;

    GeneralInfoView();

    int StoreToModel() override;
    int OnInitDialog() override;
    // Marks the skin modified while the page is live (not while it is being filled).
    int OnTextChange(int id) override;

    // The edit of field 0..5 in table order (name, version, author, e-mail, time, description).
    static int EditOfField(int field);

protected:
    void FillControls() override;
};
