// The window of an update form: the engine's core shown as a layout built from
// the form's definition, with the validation pass, lookups through the parent's
// pick list, and completion on OK.
#pragma once

#include "forms/formcore.h"
#include "forms/photopart.h"
#include "platform/picture.h"
#include "platform/windows/procedure.h"

#include <map>
#include <memory>

namespace hk
{

class BuiltWindow;

class FormProcedure : public Procedure
{
    Q_OBJECT
  public:
    explicit FormProcedure(const FormDef &def);
    ~FormProcedure() override;

    BuiltWindow *form() const { return built_; }
    // The Photos part, when the form has one and is open.
    PhotoPart *photos() const { return photos_; }
    const FormCore &core() const { return core_; }

    // Control numbers of the window built for a form.
    static constexpr int OkButton = 901, CancelButton = 902, HelpButton = 903;
    // The control showing a field, or 0.
    int controlOf(std::string_view fieldLabel) const;

  protected:
    QCoro::Task<> run() override;
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    void build();
    void show();
    void showLookup();
    void take(int control);
    QCoro::Task<bool> checkLookup();
    QCoro::Task<> lookupLeft();
    QCoro::Task<> lookupButton();
    QCoro::Task<> ok();
    void afterEntry(int control);
    void recall(int control);
    PictureValue shown(int control) const;
    void focus(int control);
    void focusFirst();
    void focusAfterLookup();
    void closeForm();

    FormCore core_;
    BuiltWindow *built_ = nullptr;
    QPointer<PhotoPart> photos_;
    std::map<int, FieldRef> bound_;                   // control → field it shows
    std::vector<int> entries_;                        // editable controls in tab order
    std::map<int, std::vector<std::string>> options_; // option control → its choices
    std::map<QObject *, int> dittoFields_;            // widget → its control, with Ctrl+'
    int lookupEntry_ = 0;
    int lookupButton_ = 0;
    int skipAfter_ = 0;
    bool working_ = false;
};

// Makes every built form the one its table's lists call.
void registerForms();

} // namespace hk
