/// \file
/// \brief The export macro of the module's classes.
#pragma once

#if defined(_WIN32)
#define NIMBREL_MODEL_API __declspec(dllexport)
#else
/// Marks a class as exported from the shared library.
#define NIMBREL_MODEL_API __attribute__((visibility("default")))
#endif

/// \namespace Nimbrel_model
/// \brief The camera-model module: Camera, Config, CameraListener and Thread.
///
/// A host obtains the two singletons, loads the configuration, opens the
/// camera and then calls the controls; see \ref writing-a-host "Writing a host".
