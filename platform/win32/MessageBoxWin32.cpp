// The uninstaller's message boxes. The uninstaller has no window, so the box has no owner
// window and is modal for the task.
#include "platform/MessageBox.h"
#include "platform/win32/WinText.h"

namespace {

class TWin32MessageBox : public IMessageBox {
public:
    TMsgResult Show(const std::string& text, const std::string& caption, TMsgButtons buttons,
                    TMsgIcon icon, TMsgDefault defaultButton) override
    {
        UINT style = MB_TASKMODAL;
        if (buttons == TMsgButtons::YesNo) style |= MB_YESNO;
        if (buttons == TMsgButtons::RetryCancel) style |= MB_RETRYCANCEL;
        if (icon == TMsgIcon::Error) style |= MB_ICONERROR;
        if (icon == TMsgIcon::Question) style |= MB_ICONQUESTION;
        if (defaultButton == TMsgDefault::Second) style |= MB_DEFBUTTON2;
        switch (MessageBoxU(nullptr, text, caption, style)) {
        case IDOK: return TMsgResult::Ok;
        case IDYES: return TMsgResult::Yes;
        case IDNO: return TMsgResult::No;
        case IDRETRY: return TMsgResult::Retry;
        case IDCANCEL: return TMsgResult::Cancel;
        default: return TMsgResult::Closed;
        }
    }
};

}  // namespace

IMessageBox& SystemMessageBox()
{
    static TWin32MessageBox box;
    return box;
}
