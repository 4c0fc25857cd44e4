#pragma once

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

// The drawings of the catalogue, each inside a box of `size` design units at the origin.

// Small pictures: the logo, the signal-chain block icons, buttons and status marks.
namespace icons {
void logo(QPainter& painter, const QSizeF& size);
// A block icon by its name in images/Home/ICN_<name>.png; false for a name it does not know.
bool block(QPainter& painter, const QSizeF& size, const QString& name);
void mixerType(QPainter& painter, const QSizeF& size, const QString& label);
void buttonBackground(QPainter& painter, const QSizeF& size, const QColor& band);
void tick(QPainter& painter, const QSizeF& size);
void close(QPainter& painter, const QSizeF& size);
void activity(QPainter& painter, const QSizeF& size);
void play(QPainter& painter, const QSizeF& size);
// The application's own icon: the unit's display, its response curve over level meters, on a
// rounded tile that stands on any desktop.
void application(QPainter& painter, const QSizeF& size);
} // namespace icons

// The choices of the set-up wizard's list pages.
namespace choices {
// A cabinet with `drivers` drivers fed by `amplifiers` amplifier channels.
void speakerMode(QPainter& painter, const QSizeF& size, int drivers, int amplifiers);
void monitorMode(QPainter& painter, const QSizeF& size, int drivers, int amplifiers);
void paSystem(QPainter& painter, const QSizeF& size);
void stageMonitors(QPainter& painter, const QSizeF& size);
void paSystemAndStageMonitors(QPainter& painter, const QSizeF& size);
// One mono signal feeding `outputs` speakers.
void outputFormat(QPainter& painter, const QSizeF& size, int outputs);
void subAmplifier(QPainter& painter, const QSizeF& size, bool bridged);
void inputMixing(QPainter& painter, const QSizeF& size, bool stereo);
// Two channels through their graphic equalisers, linked or not; with `auxSub` a third path
// from an aux send straight to the sub.
void equaliserFormat(QPainter& painter, const QSizeF& size, bool linked, bool auxSub);
} // namespace choices

// Curves from the graphs' own filter maths.
namespace curves {
enum class Target { Recommended, Flat, ReflectiveRoom };
void target(QPainter& painter, const QSizeF& size, Target target);
// One Nuq notch of quality `q`.
void nuqWidth(QPainter& painter, const QSizeF& size, double q);
// A parametric equaliser's curve over its grid in `frame`, as the equaliser pages draw one.
void equaliser(QPainter& painter, const QRectF& frame, double strokeWidth);
} // namespace curves

// Larger scenes: the unit's rear panel, the room, the mixer, the level dial, the splash.
namespace scenes {
void rearPanel(QPainter& painter, const QSizeF& size, bool optionCard);
void roomPlan(QPainter& painter, const QSizeF& size);
// Overlays of the room plan, drawn in its frame: measuring position 1 to 4, and the measuring
// microphone at the unit.
void micPosition(QPainter& painter, const QSizeF& size, int position);
void measuringMic(QPainter& painter, const QSizeF& size);
void mixerOutputs(QPainter& painter, const QSizeF& size, bool raise);
void dialScale(QPainter& painter, const QSizeF& size);
void dialPointer(QPainter& painter, const QSizeF& size);
void dialButton(QPainter& painter, const QSizeF& size, bool plus);
void splash(QPainter& painter, const QSizeF& size);
} // namespace scenes
