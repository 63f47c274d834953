#pragma once
// The dialog "Bitmap Parameters" of the high-resolution bitmap export: the
// resolution (150, 300, 600 or 1200 dots per inch; 300 unless chosen) and
// the colours (256, 64K or 16.7M: 8, 16 or 24 bits per pixel; 24 unless
// chosen). It is asked before any file is touched.

#include <QDialog>

class QRadioButton;

namespace halvex {

class BitmapParametersDialog final : public QDialog {
public:
    explicit BitmapParametersDialog(QWidget* parent = nullptr);

    int dpi() const;
    int bits() const;
    void choose(int dpi, int bits);

private:
    QRadioButton* resolutions_[4] = {};
    QRadioButton* depths_[3] = {};
};

} // namespace halvex
