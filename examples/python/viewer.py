#!/usr/bin/env python3
"""A small camera viewer in wxPython: the live picture, an exposure slider and a record button.

    python3 viewer.py [--camera SIM2592-C] [--record clip.avi] [--quit-after SECONDS]

The camera's recording timer ticks in wxPython's own main loop: nothing else runs the events.
"""
import argparse
import math
import time
from typing import Optional

import numpy as np
import wx

import nimbrel_model as nm


class Viewer(wx.Frame):
    def __init__(self, camera: nm.Camera, record_path: Optional[str]) -> None:
        super().__init__(None, title=f"{camera.name} - nimbrel_model viewer", size=(900, 760))
        self.camera = camera
        self.record_path = record_path
        self.bitmap: Optional[wx.Bitmap] = None

        self.picture = wx.Panel(self)
        self.picture.SetBackgroundStyle(wx.BG_STYLE_PAINT)
        self.picture.Bind(wx.EVT_PAINT, self.on_paint)
        longest = int(10 * 1000.0 / camera.frame_rate)  # tenths of a millisecond, up to the frame time
        self.slider = wx.Slider(self, value=min(int(camera.exposure * 10), longest), minValue=1, maxValue=longest)
        self.slider.Bind(wx.EVT_SLIDER, self.on_exposure)
        self.exposure = wx.StaticText(self)
        self.button = wx.Button(self, label="Record")
        self.button.Bind(wx.EVT_BUTTON, self.on_record)

        controls = wx.BoxSizer(wx.HORIZONTAL)
        controls.Add(wx.StaticText(self, label="Exposure"), 0, wx.ALIGN_CENTER_VERTICAL | wx.ALL, 6)
        controls.Add(self.slider, 1, wx.EXPAND | wx.ALL, 6)
        controls.Add(self.exposure, 0, wx.ALIGN_CENTER_VERTICAL | wx.ALL, 6)
        controls.Add(self.button, 0, wx.ALL, 6)
        layout = wx.BoxSizer(wx.VERTICAL)
        layout.Add(self.picture, 1, wx.EXPAND)
        layout.Add(controls, 0, wx.EXPAND)
        self.SetSizer(layout)
        self.CreateStatusBar()
        self.show_exposure()

        self.timer = wx.Timer(self)
        self.Bind(wx.EVT_TIMER, self.on_timer, self.timer)
        self.interval = int(1000 / min(camera.frame_rate, 30))
        self.timer.StartOnce(self.interval)
        self.Bind(wx.EVT_CLOSE, self.on_close)

    def on_timer(self, _event: wx.TimerEvent) -> None:
        size = self.picture.GetClientSize()
        pixels = self.camera.picture()
        height, width, _ = pixels.shape
        # Every step-th pixel, to fit the window: cheap enough for the camera's rate.
        step = max(1, math.ceil(max(width / max(size.width, 1), height / max(size.height, 1))))
        shown = np.ascontiguousarray(pixels[::step, ::step])
        self.bitmap = wx.Bitmap.FromBuffer(shown.shape[1], shown.shape[0], shown)
        self.picture.Refresh(False)
        state = "recording" if self.camera.is_recording else "live"
        self.SetStatusText(f"{width} x {height} at {self.camera.frame_rate:.1f} fps, {state}")
        # One shot at a time: a refresh never queues behind another, so the recording's ticks get their turn.
        self.timer.StartOnce(self.interval)

    def on_paint(self, _event: wx.PaintEvent) -> None:
        dc = wx.AutoBufferedPaintDC(self.picture)
        dc.SetBackground(wx.BLACK_BRUSH)
        dc.Clear()
        if self.bitmap:
            size = self.picture.GetClientSize()
            dc.DrawBitmap(self.bitmap, (size.width - self.bitmap.Width) // 2, (size.height - self.bitmap.Height) // 2)

    def on_exposure(self, _event: wx.CommandEvent) -> None:
        self.camera.exposure = self.slider.GetValue() / 10.0
        self.show_exposure()

    def show_exposure(self) -> None:
        self.exposure.SetLabel(f"{self.camera.exposure:6.1f} ms")  # what the camera applied
        self.Layout()

    def on_record(self, _event: Optional[wx.CommandEvent] = None) -> None:
        if self.camera.is_recording:
            self.camera.stop_recording()
            self.recording_over(None)
            return
        path = self.record_path or time.strftime("viewer-%Y%m%d-%H%M%S.avi")
        self.camera.start_recording(path, 0, on_end=self.recording_over)  # until Stop, or the size limit
        self.button.SetLabel("Stop")
        self.SetStatusText(f"recording to {path}")

    def recording_over(self, error: Optional[nm.CameraError]) -> None:
        self.button.SetLabel("Record")
        if error is not None:
            wx.LogError(f"The recording stopped: {error}")

    def on_close(self, event: wx.CloseEvent) -> None:
        self.timer.Stop()
        self.camera.close()  # finishes a recording's file
        event.Skip()


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--camera", help="a simulated camera to open, for example SIM2592-C")
    parser.add_argument("--record", metavar="PATH", help="the file the Record button writes, recording at once")
    parser.add_argument("--quit-after", type=float, metavar="SECONDS", help="close the window after that long")
    args = parser.parse_args()

    app = wx.App()  # before the camera opens: the camera then uses wxPython's event loop
    viewer = Viewer(nm.open(camera=args.camera), args.record)
    viewer.Show()
    if args.record:
        viewer.on_record()
    if args.quit_after:
        wx.CallLater(int(args.quit_after * 1000), viewer.Close)
    app.MainLoop()


if __name__ == "__main__":
    main()
