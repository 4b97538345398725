#pragma once
#include <QDialog>

class QAction;
class QLabel;
class QScrollArea;
class TWPRichText;
class TWPToolBar;

// "Rich Text Editor": edits a rich-text label's text on a page of the label's size,
// shown at a zoom from 50 to 100 % (the label's own zoom to begin with), with the
// formatting bar. The caller loads WPRichText1 and sizes WPPanel before showing it.
class TRichTextLabelEditor : public QDialog {
    Q_OBJECT
public:
    explicit TRichTextLabelEditor(QWidget* parent = nullptr);

    TWPToolBar* WPToolBar1 = nullptr;
    QScrollArea* ScrollBox = nullptr;
    QWidget* WPPanel = nullptr;
    TWPRichText* WPRichText1 = nullptr;
    QAction* ZoomInButton = nullptr;
    QAction* ZoomOutButton = nullptr;
    QLabel* ZoomCaption = nullptr;

    // Shows the page, gives the editor the focus with the caret at the start, and takes
    // the panel's size and the zoom as the base the zoom buttons scale from. Runs when
    // the dialog is first shown.
    void FormActivate();
    // Up to 100 % and down to 50 %, in steps of 10.
    void ZoomInClick();
    void ZoomOutClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void zoomChanged();

    QSize m_baseSize;
    int m_baseZoom = 100;
    bool m_activated = false;
};
