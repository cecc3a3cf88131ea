"""nimbrelsrc inside a wxPython application: the camera runs on the application's own event loop. Started by
test_nimbrelsrc.py under Xvfb; prints the frames it pulled and the exposure read back after a change."""
import gi
import wx

gi.require_version("Gst", "1.0")
from gi.repository import Gst  # noqa: E402

Gst.init(None)
app = wx.App(False)
frame = wx.Frame(None)  # the loop runs while a window exists
pipeline = Gst.parse_launch("nimbrelsrc name=src camera=SIM1284-C ! video/x-raw,width=320,height=240,framerate=50/1 ! "
                            "appsink name=sink sync=false max-buffers=2 drop=true")
sink = pipeline.get_by_name("sink")
offsets = []


def poll(_event):
    sample = sink.emit("try-pull-sample", 0)
    if sample is not None:
        offsets.append(sample.get_buffer().offset)
        if len(offsets) == 3:
            pipeline.get_by_name("src").set_property("exposure", 3.0)
    if len(offsets) >= 10:
        timer.Stop()
        pipeline.set_state(Gst.State.NULL)
        frame.Destroy()


timer = wx.Timer()
timer.Bind(wx.EVT_TIMER, poll)
wx.CallAfter(lambda: (pipeline.set_state(Gst.State.PLAYING), timer.Start(5)))
wx.CallLater(20000, frame.Destroy)
app.MainLoop()
pipeline.set_state(Gst.State.NULL)
print(len(offsets), round(pipeline.get_by_name("src").get_property("exposure"), 1))
