#pragma once

class PageSession;

// Waits until the loaded page shows every value of the device: its objects listed (a page that
// shows processing objects binds them once the preset has listed them), every bound control
// holding its device value, and a frame drawn with them. False when that did not come within
// `timeoutMs`.
bool waitForValuesShown(PageSession& session, int timeoutMs);
