"""The binding as cmake --install lays it out: in Debian's Python path, with the shipped settings beside."""
import os
import subprocess

from conftest import run_python, tool_env


def test_the_installed_binding_seeds_the_settings_from_the_installed_file(tmp_path):
    prefix = tmp_path / "prefix"
    subprocess.run(["cmake", "--install", os.environ["NIMBREL_BUILD_DIR"], "--prefix", prefix], check=True,
                   capture_output=True, env=tool_env())
    site = next(prefix.glob("lib/python3*/dist-packages"))
    out = run_python("-c", "import nimbrel_model as nm; nm.open().close(); print(nm.__file__, nm.config().path)",
                     env={"PYTHONPATH": str(site), "XDG_CONFIG_HOME": str(tmp_path)})
    module, settings = out.split()
    assert module.startswith(str(site)) and settings == str(tmp_path / "nimbrel-model" / "res" / "config.xml")
