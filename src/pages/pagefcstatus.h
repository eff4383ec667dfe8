#pragma once

#include "pages/pagefc.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QTransform>

class QPainter;

namespace Ui {
class PageFCStatus;
}

// The status page: artificial horizon, compass needle, angles, flight mode and arming state,
// with the horizon calibration and motor test commands.
class PageFCStatus : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCStatus(QWidget* parent = nullptr, Build when = Build::Now);
    ~PageFCStatus() override;

    // Degrees per radian as the controller's firmware tools use it.
    static constexpr double kRadToDeg = 57.29578;
    // Horizon bar shift per degree of pitch: 25 px for 12 degrees.
    static constexpr double kPixelsPerDegree = 2.0833333333333335;

    // The compass needle's painter transform for a heading in radians: about the view centre,
    // rotated by 90 - yaw degrees (a heading of 0 points the needle to the right).
    static QTransform compassTransform(float yaw);
    // How far (px) the horizon bar moves down in the rotated frame for a pitch in radians.
    static float horizonShift(float pitch);
    // The horizon bar's painter transform: about the view centre, rotated by roll degrees,
    // then shifted by horizonShift(pitch).
    static QTransform attitudeTransform(float roll, float pitch);

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;

private slots:
    void on_pushButton_HorizonCali_clicked();
    void on_pushButton_motorTest_clicked();

protected:
    void build() override;

private:
    // The part of a gauge that the needle or the bar covers at the given angles.
    QRect needleArea(float heading) const;
    QRect barArea(float rollAngle, float pitchAngle) const;
    void paintCompass();
    void paintAttitude();
    // Draws the skin beneath a gauge from its picture, if there is one, and has the pictures
    // taken (again) after this paint when there is none for the screen's pixel ratio.
    void paintBackdrop(QWidget* gauge, QPainter* painter, const QPixmap& picture);
    void takeBackdrops();

    Ui::PageFCStatus* ui;

    float q0 = 1.0f;
    float q1 = 0.0f;
    float q2 = 0.0f;
    float q3 = 0.0f;
    float roll = 0.0f;
    float pitch = 0.0f;
    float yaw = 0.0f;
    quint8 flyMode = 0;
    quint8 lockState = 0;

    QImage compassImage;
    QImage horizonImage;
    QBitmap horizonMask;
    QRegion horizonClip;
    QPixmap compassBackdrop;
    QPixmap attitudeBackdrop;
    bool takingBackdrop = false;
    bool backdropPending = false;

    bool motorTestWarningPending = true;
};
