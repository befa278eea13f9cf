#include "GUI/Switch.h"

Switch::Switch(
    HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Image* onImage, Gdiplus::Image* offImage)
    : ParameterControl(hDlg, id, parameterId, background)
    , onImage(onImage)
    , offImage(offImage)
    , behaviour(*this, parameterId, onImage != nullptr && offImage != nullptr)
{
}

void Switch::Draw(Gdiplus::Graphics& graphics)
{
    if (onImage == nullptr || offImage == nullptr) {
        return;
    }
    Gdiplus::Image* image = behaviour.IsOn() ? onImage : offImage;
    graphics.DrawImage(image, 0, 0, static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
}
