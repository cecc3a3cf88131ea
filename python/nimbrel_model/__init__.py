# The package over the extension: everything public of _nimbrel_model, under
# this name (its types print as nimbrel_model.Camera, not the extension's).
# A name added to the extension goes into __all__ and the stubs
# (_nimbrel_model.pyi); the python_stubs test compares them with the extension.
from . import _nimbrel_model
from ._nimbrel_model import *  # noqa: F401,F403
from ._nimbrel_model import __version__ as __version__

__doc__ = _nimbrel_model.__doc__
__all__ = [
    "Camera", "CameraClosedError", "CameraError", "CameraInfo", "Config", "Frame", "FrameIterator", "cameras",
    "config", "open", "run_events"
]
for _name in __all__:
    _value = getattr(_nimbrel_model, _name)
    if isinstance(_value, type) and _value.__module__ == _nimbrel_model.__name__:
        _value.__module__ = __name__
del _name, _value
