#pragma once

#include "faultcontext.h"
#include "faultplan.h"

class ImageUpdater;
class QX8TextSV;

// The operations of the schedules, each against the real classes of the application: brings
// about what the operation needs while no fault is on (a logged-in link, an image in the cache),
// starts it, and routes its success and error signals to the outcome log of its part.
class FaultOperations
{
public:
    explicit FaultOperations(FaultContext& context);

    // What the operation needs before it starts; returns what failed, empty when all is ready.
    QString prepare(const faultplan::Step& step);
    // Starts the operation; its reports go to the returned log, which runs operation `index`.
    OutcomeLog& start(const faultplan::Step& step, int index);
    // How long the operation may take after its last fault was switched.
    static int limitMs(faultplan::Operation operation);
    // After a success: what the peers hold that contradicts it, empty when nothing does.
    QString checkSuccess(const faultplan::Step& step);
    // Ends the operation's log and what the operation left running.
    void finish(const faultplan::Step& step);

private:
    OutcomeLog& logOf(faultplan::Operation operation);
    QString logIn();
    QString logOut();
    QString bindControl(const faultplan::Step& step);
    ImageUpdater& updaterOf(faultplan::Operation operation) const;
    void resetUpdater(faultplan::Operation operation);
    // After a check: what is wrong with the version it found, empty when it is the cloud's.
    QString checkVersion(faultplan::Operation operation) const;
    QString checkForUpdate(faultplan::Operation operation);
    QString putFirmwareImage();
    void startControlWrite(const faultplan::Step& step);
    void startPresetFetch(const faultplan::Step& step);
    void startPresetUpload(const faultplan::Step& step);
    void startFirmwareUpload();
    QString checkDownloaded(faultplan::Operation operation) const;
    QString checkUpload(const faultplan::Step& step);

    FaultContext& m_context;
    // What a successful operation must have put in place.
    QByteArray m_expectedContent;
    QByteArray m_fetchedContent;
    int m_presetSlot = 0;
    QString m_writtenValue;
    // The control of the running write; later echoes of earlier writes are no outcome.
    QObject* m_writtenControl = nullptr;
    QX8TextSV* m_control = nullptr; // bound for the next write
};
