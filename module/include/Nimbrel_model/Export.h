#pragma once

#if defined(_WIN32)
#define NIMBREL_MODEL_API __declspec(dllexport)
#else
#define NIMBREL_MODEL_API __attribute__((visibility("default")))
#endif
