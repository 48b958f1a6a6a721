# Regenerates the BMP files of this folder: python3 MakeButtonBitmaps.py
# Draws the check-box and radio-button bitmaps of the markup buttons.
import struct, math
def save(name, w, h, px):
    row = (w*3+3)//4*4
    data = b''
    for y in range(h-1, -1, -1):
        r = b''.join(struct.pack('BBB', *px[y][x][::-1]) for x in range(w))
        data += r + b'\0'*(row-w*3)
    hdr = struct.pack('<2sIHHI', b'BM', 54+len(data), 0, 0, 54) + struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(name+'.bmp','wb').write(hdr+data)
MAG=(255,0,255)
def canvas(w,h,bg=MAG): return [[bg]*w for _ in range(h)]
def box(px,x0,y0,n,frame,face):
    for y in range(n):
        for x in range(n):
            px[y0+y][x0+x] = frame if x in (0,n-1) or y in (0,n-1) else face
def check(px,x0,y0,col):
    # a tick inside a 13x13 box at x0,y0
    pts=[(3,6),(3,7),(4,7),(4,8),(5,8),(5,9),(6,8),(6,7),(7,7),(7,6),(8,6),(8,5),(9,5),(9,4),(4,6),(5,7),(6,6),(7,5),(8,4),(9,3)]
    for x,y in pts: px[y0+y][x0+x]=col
for i,(frame,face,mark,on) in enumerate([((0,0,0),(255,255,255),(0,0,0),True),((0,0,0),(255,255,255),None,False),((128,128,128),(192,192,192),(128,128,128),True),((128,128,128),(192,192,192),None,False)]):
    px=canvas(20,20); box(px,4,4,13,frame,face)
    if on: check(px,4,4,mark)
    save('HTMBCHK%02d'%(i+1),20,20,px)
for i,(on,dis) in enumerate([(True,False),(False,False),(True,True),(False,True)]):
    px=canvas(16,16); frame=(32,96,128) if not dis else (150,170,150)
    for y in range(13):
        for x in range(13):
            if x in (0,12) or y in (0,12): c=frame
            else:
                d=max(abs(x-6),abs(y-6))/6.0
                base=(255,251,240) if not dis else (192,220,192)
                c=tuple(int(v-(v*0.12*d)) for v in base)
            px[1+y][1+x]=c
    if on: check(px,1,1,(32,160,64) if not dis else (140,160,140))
    save('HTMBCHK%02d'%(i+5),16,16,px)
def circle(px,cx,cy,r,ring,face):
    for y in range(len(px)):
        for x in range(len(px[0])):
            d=math.hypot(x+0.5-cx,y+0.5-cy)
            if d<=r-1: px[y][x]=face
            elif d<=r: px[y][x]=ring
def dot(px,cx,cy,r,col):
    for y in range(len(px)):
        for x in range(len(px[0])):
            if math.hypot(x+0.5-cx,y+0.5-cy)<=r: px[y][x]=col
for i,(ring,face,dotc,on) in enumerate([((0,0,0),(255,255,255),(0,0,0),True),((0,0,0),(255,255,255),None,False),((128,128,128),(192,192,192),(128,128,128),True),((128,128,128),(192,192,192),None,False)]):
    px=canvas(16,16); circle(px,8,8,6,ring,face)
    if on: dot(px,8,8,3,dotc)
    save('HTMBRAD%02d'%(i+1),16,16,px)
for i,(on,dis) in enumerate([(True,False),(False,False),(True,True),(False,True)]):
    bg=MAG if not dis else (255,255,255)
    px=canvas(16,16,bg); circle(px,7.5,7.5,6.5,(32,96,128) if not dis else (150,170,150),(255,251,240) if not dis else (192,220,192))
    if on: dot(px,7.5,7.5,2.6,(32,160,64) if not dis else (140,160,140))
    save('HTMBRAD%02d'%(i+5),16,16,px)
