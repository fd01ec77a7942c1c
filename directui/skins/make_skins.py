#!/usr/bin/env python3
"""Draws the images of the sample and box skins and packs the skins.

make_skins.py SRC OUT writes, under OUT:
  sample/, box/, controls/, periphery/  the skin folders (XML from SRC, images drawn here)
  sample.zip, box.zip, controls.zip  the same as archives
  bad/                   skins that must not crash: folders and zips, listed
                         with the exit code and reason skinprobe gives them
                         in bad/corpus.txt ("name exit reason..."); those that
                         build too many controls to be run under Wine's heap
                         checking (it walks the heap at every allocation) are
                         also named in bad/large.txt.
"""
import math
import os
import shutil
import struct
import sys
import zipfile
import zlib


def png_bytes(width, height, pixel):
    """pixel(x, y) -> (r, g, b, a)."""
    rows = []
    for y in range(height):
        rows.append(b'\x00' + b''.join(bytes(pixel(x, y)) for x in range(width)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)

    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(b''.join(rows), 9))
            + chunk(b'IEND', b''))


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(4))


def vgradient(top, bottom, height):
    return lambda x, y: mix(top, bottom, y / max(1, height - 1))


def framed(fill, edge, width, height, radius=3):
    def pixel(x, y):
        dx = max(radius - x, x - (width - 1 - radius), 0)
        dy = max(radius - y, y - (height - 1 - radius), 0)
        d = math.hypot(dx, dy)
        if d > radius:
            return (0, 0, 0, 0)
        if d > radius - 1 or x == 0 or y == 0 or x == width - 1 or y == height - 1:
            return edge
        return fill(x, y) if callable(fill) else fill
    return pixel


def glyph(kind, colour, back, size=24):
    """Caption button faces: a bar, a box, two boxes or a cross on a back."""
    def pixel(x, y):
        c = size // 2
        on = False
        if kind == 'min':
            on = 7 <= x <= 16 and 15 <= y <= 16
        elif kind == 'max':
            on = 7 <= x <= 16 and 7 <= y <= 16 and (x in (7, 16) or y in (7, 8, 16))
        elif kind == 'restore':
            front = 6 <= x <= 14 and 9 <= y <= 17 and (x in (6, 14) or y in (9, 10, 17))
            behind = 9 <= x <= 17 and 6 <= y <= 14 and (x in (9, 17) or y in (6, 7, 14)) and not (x < 15 and y > 8)
            on = front or behind
        elif kind == 'close':
            on = 6 <= x <= 17 and 6 <= y <= 17 and (abs(x - y) <= 1 or abs(x + y - (size - 1)) <= 1)
        return colour if on else back
    return pixel


WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)
BLUE = (52, 120, 200, 255)
DARK = (40, 58, 84, 255)


def sample_images():
    images = {
        'bg.png': (8, 64, vgradient((246, 248, 252, 255), (226, 232, 242, 255), 64)),
        'title.png': (8, 32, vgradient((58, 96, 150, 255), (38, 66, 110, 255), 32)),
        'tab.png': (80, 26, framed(vgradient((250, 251, 253, 255), (222, 228, 238, 255), 26), (150, 164, 186, 255), 80, 26)),
        'tab_hot.png': (80, 26, framed(vgradient((255, 255, 255, 255), (206, 224, 246, 255), 26), (90, 140, 210, 255), 80, 26)),
        'tab_pushed.png': (80, 26, framed((180, 205, 240, 255), (60, 110, 190, 255), 80, 26)),
        'row.png': (8, 24, lambda x, y: (236, 240, 247, 255) if y == 23 else (255, 255, 255, 255)),
        'row_icon.png': (20, 20, framed((96, 160, 90, 255), (60, 110, 60, 255), 20, 20, 4)),
        'side.png': (8, 24, framed((232, 238, 246, 255), (200, 210, 224, 255), 8, 24, 2)),
        'side_hot.png': (8, 24, framed((210, 226, 248, 255), (120, 160, 220, 255), 8, 24, 2)),
        'splitter.png': (6, 8, lambda x, y: (150, 164, 186, 255) if x in (2, 3) else (222, 228, 238, 255)),
        'action.png': (80, 28, framed(vgradient((98, 156, 230, 255), (52, 110, 200, 255), 28), (40, 84, 160, 255), 80, 28)),
        'action_hot.png': (80, 28, framed(vgradient((128, 180, 245, 255), (72, 132, 220, 255), 28), (40, 84, 160, 255), 80, 28)),
        'action_pushed.png': (80, 28, framed((46, 96, 176, 255), (30, 64, 130, 255), 80, 28)),
        'tile_hot.png': (100, 56, framed((255, 214, 120, 255), (210, 150, 40, 255), 100, 56, 6)),
        'scroll_bk.png': (12, 8, lambda x, y: (232, 236, 242, 255)),
        'scroll_grip.png': (12, 12, lambda x, y: (255, 255, 255, 200) if y in (4, 6, 8) and 3 <= x <= 8 else CLEAR),
    }
    for name, colour in (('blue', (70, 130, 210, 255)), ('green', (80, 170, 110, 255)),
                         ('orange', (230, 140, 60, 255)), ('purple', (140, 100, 200, 255))):
        images['tile_%s.png' % name] = (100, 56, framed(colour, mix(colour, (0, 0, 0, 255), 0.3), 100, 56, 6))
    for kind in ('min', 'max', 'restore', 'close'):
        hot_back = (220, 70, 60, 255) if kind == 'close' else (90, 130, 190, 255)
        images['%s.png' % kind] = (24, 24, glyph(kind, WHITE, CLEAR))
        images['%s_hot.png' % kind] = (24, 24, glyph(kind, WHITE, hot_back))
        images['%s_pushed.png' % kind] = (24, 24, glyph(kind, WHITE, mix(hot_back, (0, 0, 0, 255), 0.25)))
    for part, up in (('up', True), ('down', False)):
        def arrow(colour, back, up=up):
            def pixel(x, y):
                row = y - 3 if up else 8 - y
                return colour if 0 <= row <= 4 and abs(x - 5.5) <= row + 0.5 else back
            return pixel
        images['scroll_%s.png' % part] = (12, 12, arrow((110, 124, 146, 255), (232, 236, 242, 255)))
        images['scroll_%s_hot.png' % part] = (12, 12, arrow((52, 100, 170, 255), (214, 224, 238, 255)))
        images['scroll_%s_pushed.png' % part] = (12, 12, arrow(WHITE, (120, 150, 200, 255)))
    for name, colour in (('', (176, 188, 206, 255)), ('_hot', (130, 156, 196, 255)), ('_pushed', (90, 124, 180, 255))):
        images['scroll_thumb%s.png' % name] = (12, 12, framed(colour, mix(colour, (0, 0, 0, 255), 0.2), 12, 12, 2))
    return images


def box_images():
    images = {name: spec for name, spec in sample_images().items()
              if name.startswith(('close', 'action'))}
    images['box_bg.png'] = (32, 32, framed(WHITE, DARK, 32, 32, 6))
    images['box_title.png'] = (8, 30, vgradient((58, 96, 150, 255), (38, 66, 110, 255), 30))

    def shadow(x, y, size=48, corner=20):
        # Alpha grows towards the window edge, inside the 20-pixel border.
        d = min(x, y, size - 1 - x, size - 1 - y)
        if d >= corner:
            return CLEAR
        return (0, 0, 0, int(90 * (d / corner) ** 2))
    images['shadow.png'] = (48, 48, shadow)
    return images


def controls_images():
    """The wizard controls' sample: buttons, marks, bars and a thumb."""
    images = {name: spec for name, spec in sample_images().items() if name.startswith(('close', 'scroll'))}
    green = (80, 170, 110, 255)
    for name, top, bottom in (('btn', (98, 156, 230, 255), (52, 110, 200, 255)),
                              ('btn_hot', (128, 180, 245, 255), (72, 132, 220, 255)),
                              ('btn_pushed', (46, 96, 176, 255), (46, 96, 176, 255)),
                              ('btn_disabled', (190, 196, 206, 255), (170, 176, 186, 255))):
        images[name + '.png'] = (96, 30, framed(vgradient(top, bottom, 30), (40, 84, 160, 255), 96, 30))

    def mark(kind, on):
        def pixel(x, y):
            edge, fill = (90, 104, 126, 255), WHITE
            if kind == 'radio':
                d = math.hypot(x - 7.5, y - 7.5)
                if d > 7.5:
                    return CLEAR
                if d > 6.5:
                    return edge
                return BLUE if on and d < 3.5 else fill
            if x in (0, 15) or y in (0, 15):
                return edge
            tick = on and ((3 <= x <= 6 and abs(y - (x + 5)) <= 1) or (6 <= x <= 12 and abs(y - (17 - x)) <= 1))
            return BLUE if tick else fill
        return pixel
    for kind in ('radio', 'check'):
        images[kind + '.png'] = (16, 16, mark(kind, False))
        images[kind + '_on.png'] = (16, 16, mark(kind, True))
    images['progress_bk.png'] = (8, 8, framed((226, 232, 240, 255), (170, 180, 196, 255), 8, 8, 2))
    images['progress_fore.png'] = (8, 8, framed(vgradient(mix(green, WHITE, 0.3), green, 8), mix(green, (0, 0, 0, 255), 0.3), 8, 8, 2))
    for name, colour in (('thumb', (240, 244, 250, 255)), ('thumb_hot', (214, 230, 250, 255)),
                         ('thumb_pushed', (170, 200, 240, 255))):
        images[name + '.png'] = (12, 18, framed(colour, (70, 100, 150, 255), 12, 18, 3))
    return images


def periphery_images():
    """Lists, combo, tree, date, GIF and hosted controls: marks, arrows, bars."""
    images = {name: spec for name, spec in controls_images().items() if name.startswith(('scroll', 'check'))}
    edge = (90, 104, 126, 255)

    def triangle(open_):
        def pixel(x, y):
            if open_:
                inside = 5 <= y <= 11 and abs(x - 9) <= 11 - y
            else:
                inside = 5 <= x <= 11 and abs(y - 9) <= 11 - x
            return edge if inside else CLEAR
        return pixel
    images['tree_closed.png'] = (18, 18, triangle(False))
    images['tree_open.png'] = (18, 18, triangle(True))
    # Five 18-pixel arrow cells: normal, hot, pushed, focused, disabled.
    backs = [(236, 240, 247, 255), (206, 224, 246, 255), (170, 200, 240, 255), (220, 230, 244, 255), (230, 230, 230, 255)]

    def arrow(x, y):
        cell, cx = divmod(x, 18)
        down = 8 <= y <= 12 and abs(cx - 9) <= 12 - y
        return (120, 120, 120, 255) if down and cell == 4 else edge if down else backs[cell]
    images['combo_arrow.png'] = (90, 22, arrow)
    images['header_sep.png'] = (1, 22, lambda x, y: (170, 180, 196, 255))
    return images


def write_periphery_gif(folder):
    """The sample's animation, by the GIF writer the animation tests use."""
    import importlib.util
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'fixtures', 'make_test_gifs.py')
    spec = importlib.util.spec_from_file_location('make_test_gifs', path)
    gifs = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(gifs)
    gifs.gif(os.path.join(folder, 'anim.gif'), 44, 44, [(0, 30), (1, 30), (2, 30)])


def write_skin(folder, xml_files, images):
    os.makedirs(folder, exist_ok=True)
    for src in xml_files:
        shutil.copy(src, os.path.join(folder, os.path.basename(src)))
    for name, (w, h, pixel) in images.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(png_bytes(w, h, pixel))


def zip_folder(folder, path, skip=()):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name in sorted(os.listdir(folder)):
            if name not in skip:
                z.write(os.path.join(folder, name), name)


def short_entry_zip():
    """A zip whose main.xml inflates to a whole, valid document that is shorter
    than the size (and CRC) its headers declare."""
    whole = ('<Window size="300,200"><VerticalLayout><Label name="whole" text="the whole entry"/>'
             + '<Control/>' * 40 + '</VerticalLayout></Window>').encode()
    short = b'<Window size="300,200"><Label name="cut" text="cut short"/></Window>'
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    data = packer.compress(short) + packer.flush()
    crc = zlib.crc32(whole) & 0xffffffff
    name = b'main.xml'
    local = struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 8, 0, 0x21, crc, len(data), len(whole),
                        len(name), 0) + name + data
    central = struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 0, 8, 0, 0x21, crc, len(data), len(whole),
                          len(name), 0, 0, 0, 0, 0x20, 0) + name
    end = struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, 1, 1, len(central), len(local), 0)
    return local + central + end


def write_bad(out, sample_dir, sample_zip):
    bad = os.path.join(out, 'bad')
    shutil.rmtree(bad, ignore_errors=True)
    os.makedirs(bad)
    corpus = []
    large = []

    def folder_skin(name, files, code, reason, is_large=False):
        d = os.path.join(bad, name)
        os.makedirs(d)
        for fname, text in files.items():
            with open(os.path.join(d, fname), 'w', encoding='utf-8') as f:
                f.write(text)
        corpus.append('%s %d %s' % (name, code, reason))
        if is_large:
            large.append(name)

    def zip_skin(name, data, code, reason):
        with open(os.path.join(bad, name), 'wb') as f:
            f.write(data)
        corpus.append('%s %d %s' % (name, code, reason))

    folder_skin('unknown', {'main.xml': '<Window size="300,200"><Gizmo><Widget a="1"><VerticalLayout/></Widget></Gizmo>'
                            '<VerticalLayout name="kept"><Sprocket/><Control name="after" height="20"/></VerticalLayout>'
                            '<Thing/></Window>'}, 0, 'after')
    folder_skin('missingimages', {'main.xml': '<Window size="300,200"><Image name="nothere.png"/>'
                                  '<VerticalLayout bkimage="nothere.png" vscrollbar="true" '
                                  'vscrollbarstyle="thumbnormalimage=&quot;gone.png&quot;">'
                                  '<Button name="b" normalimage="gone.png" height="30" text="x"/>'
                                  '<Control name="c" bkimage="file=\'gone.png\' corner=\'9999,9999,9999,9999\'"/>'
                                  '</VerticalLayout></Window>'}, 0, 'ButtonUI')
    folder_skin('hugenumbers', {'main.xml': '<Window size="99999999,99999999" sizebox="2147483647,-5,99999999999,4" '
                                'caption="-99999999,0,0,99999999999" roundcorner="99999999,99999999" '
                                'mininfo="-5,99999999" maxinfo="99999999,99999999" alpha="99999" '
                                'shadowsize="99999" shadowposition="-99999,99999" shadowdarkness="-1" showshadow="true">'
                                '<Font name="Tahoma" size="99999999"/>'
                                '<VerticalLayout childpadding="2147483647" inset="99999999,99999999,-99999999,0">'
                                '<Control name="wide" width="2147483647" height="-2147483647" minheight="99999999"/>'
                                '<TileLayout itemsize="2147483647,0" columns="99999999"><Control height="99999999"/></TileLayout>'
                                '<ScrollBar name="bar" range="2147483647" value="2147483647" linesize="-99999999"/>'
                                '<TabLayout selectedid="99999999"><Control/></TabLayout>'
                                '</VerticalLayout></Window>'}, 0, 'ScrollBarUI')
    deep = '<Window>' + '<VerticalLayout>' * 300 + '</VerticalLayout>' * 300 + '</Window>'
    folder_skin('deepnesting', {'main.xml': deep}, 1, 'Elements nested too deeply')
    chain = {'main.xml': '<Window><VerticalLayout><Include source="d1.xml"/></VerticalLayout></Window>'}
    for i in range(1, 12):
        chain['d%d.xml' % i] = '<Window><VerticalLayout><Include source="d%d.xml"/></VerticalLayout></Window>' % (i + 1)
    chain['d12.xml'] = '<Window><Control/></Window>'
    folder_skin('deepincludes', chain, 1, 'more than 8 nested include or child-layout levels')
    folder_skin('includecycle', {'main.xml': '<Window><VerticalLayout><Include source="a.xml"/></VerticalLayout></Window>',
                                 'a.xml': '<Window><Include source="b.xml"/></Window>',
                                 'b.xml': '<Window><Include source="A.XML"/></Window>'}, 1, 'include cycle')
    folder_skin('includecount', {'main.xml': '<Window><VerticalLayout><Include count="1001" source="r.xml"/>'
                                 '</VerticalLayout></Window>', 'r.xml': '<Window><Control/></Window>'},
                1, 'Include count 1001 is above 1000')
    # Repeats inside repeats: a thousand files that each include a thousand.
    folder_skin('includemultiply', {'main.xml': '<Window><VerticalLayout><Include count="1000" source="b.xml"/>'
                                    '</VerticalLayout></Window>',
                                    'b.xml': '<Window><Include count="1000" source="c.xml"/></Window>',
                                    'c.xml': '<Window><Control/></Window>'},
                1, 'more than 1000 files included in one skin build')
    # A thousand child layouts, each of a file of 99,901 controls: past the
    # window's one budget each layout stays empty, and the skin loads.
    folder_skin('childmultiply', {'main.xml': '<Window size="300,200"><VerticalLayout>'
                                  + '<ChildLayout xmlfile="big.xml"/>' * 1000 + '</VerticalLayout></Window>',
                                  'big.xml': '<Window><VerticalLayout><Include count="999" source="rows.xml"/>'
                                  '</VerticalLayout></Window>',
                                  'rows.xml': '<Window>' + '<Control/>' * 100 + '</Window>'},
                0, 'ChildLayoutUI', is_large=True)
    folder_skin('childcycle', {'main.xml': '<Window><VerticalLayout><ChildLayout name="c" xmlfile="main.xml"/>'
                               '</VerticalLayout></Window>'}, 0, 'ChildLayoutUI')
    folder_skin('badxml', {'main.xml': '<Window><VerticalLayout><Control name="x"></VerticalLayout></Window>'},
                1, 'main.xml: Unmatched closing tag')
    folder_skin('nomain', {'other.xml': '<Window/>'}, 1, 'main.xml: Error opening file')
    folder_skin('emptydoc', {'main.xml': '<!-- nothing here -->'}, 1, 'main.xml: empty document')
    with open(sample_zip, 'rb') as f:
        whole = f.read()
    zip_skin('truncated.zip', whole[:len(whole) // 2], 1, 'damaged zip archive')
    zip_skin('tail.zip', whole[:-10], 1, 'main.xml: Could not find ziped file')
    zip_skin('garbage.zip', bytes((i * 7919) & 0xff for i in range(4096)), 1, 'damaged zip archive')
    zip_skin('empty.zip', b'', 1, 'damaged zip archive')
    zip_skin('shortentry.zip', short_entry_zip(), 1, 'main.xml: Could not unzip file')
    nomain = os.path.join(bad, 'nomain.zip')
    zip_folder(sample_dir, nomain, skip=('main.xml',))
    corpus.append('nomain.zip 1 main.xml: Could not find ziped file')
    with open(os.path.join(bad, 'corpus.txt'), 'w') as f:
        f.write('\n'.join(corpus) + '\n')
    with open(os.path.join(bad, 'large.txt'), 'w') as f:
        f.write(''.join(name + '\n' for name in large))


def main():
    src, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    sample_dir = os.path.join(out, 'sample')
    box_dir = os.path.join(out, 'box')
    controls_dir = os.path.join(out, 'controls')
    periphery_dir = os.path.join(out, 'periphery')
    shutil.rmtree(periphery_dir, ignore_errors=True)
    shutil.rmtree(sample_dir, ignore_errors=True)
    shutil.rmtree(box_dir, ignore_errors=True)
    shutil.rmtree(controls_dir, ignore_errors=True)
    write_skin(sample_dir, [os.path.join(src, 'sample', n) for n in ('main.xml', 'row.xml', 'child.xml')],
               sample_images())
    write_skin(box_dir, [os.path.join(src, 'box', 'box.xml')], box_images())
    zip_folder(sample_dir, os.path.join(out, 'sample.zip'))
    zip_folder(box_dir, os.path.join(out, 'box.zip'))
    write_skin(controls_dir, [os.path.join(src, 'controls', n) for n in ('main.xml', 'layered.xml')],
               controls_images())
    zip_folder(controls_dir, os.path.join(out, 'controls.zip'))
    write_bad(out, sample_dir, os.path.join(out, 'sample.zip'))
    write_skin(periphery_dir, [os.path.join(src, 'periphery', n) for n in ('main.xml', 'web.xml')],
               periphery_images())
    write_periphery_gif(periphery_dir)


if __name__ == '__main__':
    main()
