// Declarations of the camera SDK and its AVI tools: what the simulator
// implements, and what the module compiles against when the camera maker's own
// header is not at hand. The module uses every constant and record field by
// its name only, so that the maker's header, with its own values and layouts,
// can take this one's place. The four functions known by their role are
// declared under the names the simulator exports; the module reaches them
// through module/sdk/ueye_by_role.h.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define UEYE_API extern "C" __declspec(dllimport)
#else
#define UEYE_API extern "C" __attribute__((visibility("default")))
#endif

using HIDS = std::uint32_t;
using INT = int;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BOOL = std::int32_t;
using IS_CHAR = char;

// Sensor information record (80 bytes).
struct SENSORINFO {
    WORD SensorID;
    IS_CHAR strSensorName[32];
    char nColorMode;
    DWORD nMaxWidth;
    DWORD nMaxHeight;
    BOOL bMasterGain;
    BOOL bRGain;
    BOOL bGGain;
    BOOL bBGain;
    BOOL bGlobShutter;
    WORD wPixelSize;
    char nUpperLeftBayerPixel;
    char Reserved[13];
};
static_assert(sizeof(SENSORINFO) == 80, "SENSORINFO is an 80-byte record");

// Image information of a captured frame: its number (from 1) and the camera's
// timestamp in units of 0.1 microseconds.
struct UEYEIMAGEINFO {
    std::uint64_t u64TimestampDevice;
    std::uint64_t u64FrameNumber;
    char reserved[48];
};

// Status codes.
constexpr INT IS_SUCCESS = 0;
constexpr INT IS_NO_SUCCESS = -1;
constexpr INT IS_INVALID_CAMERA_HANDLE = 1;
constexpr INT IS_IO_REQUEST_FAILED = 2;
constexpr INT IS_CANT_OPEN_DEVICE = 3;
constexpr INT IS_INVALID_PARAMETER = 125;
constexpr INT IS_OUT_OF_MEMORY = 14;
constexpr INT IS_NO_ACTIVE_IMG_MEM = 108;
constexpr INT IS_SEQUENCE_BUF_ALREADY_LOCKED = 151;
constexpr INT IS_TIMED_OUT = 122;
constexpr INT IS_CAPTURE_RUNNING = 140;
constexpr INT IS_INVALID_MEMORY_POINTER = 49;

// Capture.
constexpr INT IS_DONT_WAIT = 0;
constexpr INT IS_WAIT = 1;
constexpr INT IS_SET_DM_DIB = 1;
constexpr INT IS_SET_TRIGGER_OFF = 0;
constexpr INT IS_BINNING_DISABLE = 0;

// Events.
constexpr INT IS_SET_EVENT_FRAME = 2;

// Colour modes.
constexpr INT IS_CM_MONO8 = 6;
constexpr INT IS_CM_RGB8_PACKED = 129;

// Query codes.
constexpr INT IS_GET_MASTER_GAIN = 0x8000;
constexpr INT IS_GET_RED_GAIN = 0x8001;
constexpr INT IS_GET_GREEN_GAIN = 0x8002;
constexpr INT IS_GET_BLUE_GAIN = 0x8003;
constexpr INT IS_IGNORE_PARAMETER = -1;
constexpr INT IS_GET_BRIGHTNESS = 0x8000;
constexpr INT IS_GET_GAMMA = 0x8000;
constexpr INT IS_GET_PIXEL_CLOCK = 0x8000;
constexpr INT IS_GET_COLOR_MODE = 0x8000;
constexpr INT IS_GET_BINNING = 0x8000;
constexpr INT IS_GET_DISPLAY_MODE = 0x8000;
constexpr INT IS_GET_EXTERNALTRIGGER = 0x8000;
constexpr double IS_GET_EXPOSURE_TIME = 32768.0;
constexpr double IS_GET_FRAMERATE = 32768.0;
constexpr double IS_GET_DEFAULT_FRAMERATE = 32769.0;
constexpr INT IS_SET_IMAGE_AOI = 0x8002;
constexpr INT IS_GET_IMAGE_AOI = 0x8003;
constexpr INT IS_GET_IMAGE_POS_X_INC = 0xC003;
constexpr INT IS_GET_IMAGE_POS_Y_INC = 0xC004;
constexpr INT IS_GET_IMAGE_POS_X_MAX = 0xC007;
constexpr INT IS_GET_IMAGE_POS_Y_MAX = 0xC008;

// Settings whose range is_GetSettingRange reports, for the camera's current
// state: the exposure's (milliseconds) depends on the frame rate.
constexpr INT IS_RANGE_EXPOSURE = 1;
constexpr INT IS_RANGE_MASTER_GAIN = 2;
constexpr INT IS_RANGE_COLOR_GAIN = 3;
constexpr INT IS_RANGE_BRIGHTNESS = 4;
constexpr INT IS_RANGE_AOI_WIDTH = 5;
constexpr INT IS_RANGE_AOI_HEIGHT = 6;

// Automatic controls.
constexpr INT IS_SET_AUTO_REFERENCE = 0x8000;
constexpr INT IS_SET_ENABLE_AUTO_GAIN = 0x8800;
constexpr INT IS_GET_ENABLE_AUTO_GAIN = 0x8801;
constexpr INT IS_SET_ENABLE_AUTO_SHUTTER = 0x8802;
constexpr INT IS_SET_ENABLE_AUTO_WHITEBALANCE = 0x8804;

// AVI tools.
constexpr INT IS_AVI_NO_ERR = 0;
constexpr INT IS_AVI_ERR_INVALID_FILE = 300;
constexpr INT IS_AVI_ERR_NEW_FAILED = 301;
constexpr INT IS_AVI_ERR_CREATESTREAM = 302;
constexpr INT IS_AVI_ERR_PARAMETER = 303;
constexpr INT IS_AVI_ERR_NO_CODEC_AVAIL = 304;
constexpr INT IS_AVI_ERR_INVALID_ID = 305;
constexpr INT IS_AVI_ERR_COMPRESS = 306;
constexpr INT IS_AVI_ERR_CAPTURE_RUNNING = 308;
constexpr INT IS_AVI_ERR_CAPTURE_NOT_RUNNING = 309;
constexpr INT IS_AVI_ERR_INVALID_CM = 311;
constexpr INT IS_AVI_ERR_INVALID_SIZE = 312;
constexpr INT IS_AVI_ERR_INVALID_POSITION = 313;
constexpr INT IS_AVI_ERR_INVALID_VALUE = 314;
constexpr INT IS_AVI_ERR_WRITE_INFO = 317;  // the frame or size is still good
constexpr INT IS_AVI_CM_RGB24 = 1;

// Open and close.
UEYE_API INT is_InitCamera(HIDS* phCam, void* hWnd);
UEYE_API INT is_GetSensorInfo(HIDS hCam, SENSORINFO* pInfo);
UEYE_API INT is_ExitCamera(HIDS hCam);

// Capture.
UEYE_API INT is_CaptureVideo(HIDS hCam, INT wait);
UEYE_API INT is_StopLiveVideo(HIDS hCam, INT wait);
UEYE_API INT is_SetExternalTrigger(HIDS hCam, INT triggerMode);
UEYE_API INT is_SetDisplayMode(HIDS hCam, INT mode);

// Image memory.
UEYE_API INT is_AllocImageMem(HIDS hCam, INT width, INT height, INT bitsPerPixel, char** ppMem, INT* pId);
UEYE_API INT is_SetImageMem(HIDS hCam, char* pMem, INT id);
UEYE_API INT is_FreeImageMem(HIDS hCam, char* pMem, INT id);
// Memory the application owns becomes an image memory; freeing it only lets go.
UEYE_API INT is_SetAllocatedImageMem(HIDS hCam, INT width, INT height, INT bitsPerPixel, char* pMem, INT* pId);
UEYE_API INT is_ClearSequence(HIDS hCam);
UEYE_API INT is_AddToSequence(HIDS hCam, char* pMem, INT id);
UEYE_API INT is_LockSeqBuf(HIDS hCam, INT nNum, char* pcMem);
UEYE_API INT is_UnlockSeqBuf(HIDS hCam, INT nNum, char* pcMem);
UEYE_API INT is_GetImageInfo(HIDS hCam, INT nImageBufferID, UEYEIMAGEINFO* pImageInfo, INT nImageInfoSize);

// Events: a frame event is set when a frame is complete; a wait takes it back.
UEYE_API INT is_EnableEvent(HIDS hCam, INT which);
UEYE_API INT is_DisableEvent(HIDS hCam, INT which);
UEYE_API INT is_WaitEvent(HIDS hCam, INT which, INT nTimeout);

// Format.
UEYE_API INT is_SetColorMode(HIDS hCam, INT mode);
UEYE_API INT is_SetImageSize(HIDS hCam, INT width, INT height);
UEYE_API INT is_SetImagePos(HIDS hCam, INT x, INT y);
UEYE_API INT is_SetAOI(HIDS hCam, INT command, INT* pX, INT* pY, INT* pWidth, INT* pHeight);
UEYE_API INT is_SetBinning(HIDS hCam, INT mode);

// Image parameters.
UEYE_API INT is_SetHardwareGain(HIDS hCam, INT master, INT red, INT green, INT blue);
UEYE_API INT is_SetAutoParameter(HIDS hCam, INT param, double* pValue, double* pValue2);
UEYE_API INT is_SetBrightness(HIDS hCam, INT brightness);
UEYE_API INT is_SetExposureTime(HIDS hCam, double exposure, double* pNewExposure);
UEYE_API INT is_SetFrameRate(HIDS hCam, double fps, double* pNewFps);
UEYE_API INT is_SetPixelClock(HIDS hCam, INT clock);
UEYE_API INT is_SetGamma(HIDS hCam, INT gamma);
UEYE_API INT is_SetBlCompensation(HIDS hCam, INT enable, INT offset, INT reserved);
UEYE_API INT is_SetColorCorrection(HIDS hCam, INT mode, double* pFactors);

// AVI tools.
UEYE_API INT isavi_InitAVI(INT* pAviId, HIDS hCam);
UEYE_API INT isavi_ExitAVI(INT aviId);
UEYE_API INT isavi_SetImageSize(INT aviId, INT colorMode, long width, long height, long posX, long posY,
                                long lineOffset);
UEYE_API INT isavi_SetImageQuality(INT aviId, INT quality);
UEYE_API INT isavi_OpenAVI(INT aviId, const char* fileName);
UEYE_API INT isavi_SetFrameRate(INT aviId, double fps);
UEYE_API INT isavi_StartAVI(INT aviId);
UEYE_API INT isavi_AddFrame(INT aviId, char* pBuffer);
UEYE_API INT isavi_GetAVISize(INT aviId, float* pSizeKb);
UEYE_API INT isavi_StopAVI(INT aviId);
UEYE_API INT isavi_CloseAVI(INT aviId);

// Known by their role. The set-up call made just before binning is switched
// off; the capture sequence's buffer in use (ppMem) and the last one written;
// the highest pixel clock the camera sustains (MHz) and the frame rate there;
// the shortest, longest and step of the frame time in seconds; the smallest,
// largest and step of a setting (IS_RANGE_*); the connected cameras (up to
// `capacity` of them: id, model name in `modelBytes` bytes each, 1 when open)
// and how many there are.
UEYE_API INT is_UncheckedSetup(HIDS hCam, INT mode, INT param);
UEYE_API INT is_GetActiveBuffer(HIDS hCam, INT* pNum, char** ppMem, char** ppMemLast);
UEYE_API INT is_GetOptimalTiming(HIDS hCam, INT mode, INT timeoutMs, INT* pMaxPixelClock, double* pMaxFrameRate);
UEYE_API INT is_GetFrameTimeRange(HIDS hCam, double* pMin, double* pMax, double* pInterval);
UEYE_API INT is_GetSettingRange(HIDS hCam, INT setting, double* pMin, double* pMax, double* pStep);
UEYE_API INT is_ListConnectedCameras(INT capacity, INT* pCount, INT* pCameraIds, char* pModels, INT modelBytes,
                                     INT* pInUse);
