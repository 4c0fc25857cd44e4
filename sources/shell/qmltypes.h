#pragma once

// Registers the application's QML types, each in a module named after the type, version 1.0.
void registerQmlTypes();
