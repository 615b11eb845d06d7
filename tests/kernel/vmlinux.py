"""Writes the kernel image inside a bzImage, uncompressed: the xz stream after its boot code."""
import lzma
import sys

source, target = sys.argv[1], sys.argv[2]
data = open(source, 'rb').read()
start = data.find(b'\xfd7zXZ\x00')
if start < 0:
    sys.exit(f'{source}: no xz-compressed kernel inside')
decompressor = lzma.LZMADecompressor(format=lzma.FORMAT_XZ)
open(target, 'wb').write(decompressor.decompress(data[start:]))
