"""The pictures Kelvane ships, drawn from code: raster (shapes, paints, text masks),
formats (ICO, BMP, PNG), banner, icons, and design (what the program itself says of its
version and colours). resources/draw_resources.py writes them."""
