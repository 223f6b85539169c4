u union
w dw ?
b db 'abc', 2 dup (?)
  struc
x dd ?
  ends
u ends
s struc
k db ?
  union
uw dw ?
  ends
s ends
v u <5>
v2 s <>
r record a:3, b:5 = 2, c:24
r2 record
r3 record :3, x:
r4 record z:40
r5 record q:2 = , t:1 = 1
fl r <1, , 7>
fl2 r 3 dup (<>)
fl3 r <
fl4 r5 <1>
 mov ax, mask
 mov ax, width a mask
 mov al, mask mask r
 mov ax, width
 db mask r, width r, mask c
ideal
record R6 f:1
union U
ends
