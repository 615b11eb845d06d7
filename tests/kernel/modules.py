import os, re, sys
root, wanted = sys.argv[1], sys.argv[2:]
index = {}
for d, _, files in os.walk(root):
    for f in files:
        if f.endswith('.ko'):
            index[f[:-3].replace('-', '_')] = os.path.join(d, f)
def deps(path):
    data = open(path, 'rb').read()
    m = re.search(rb'(?:^|\0)depends=([^\0]*)', data)
    return [x.decode().replace('-', '_') for x in m.group(1).split(b',') if x] if m else []
order = []
def visit(name):
    name = name.replace('-', '_')
    if name in order: return
    for d in deps(index[name]): visit(d)
    order.append(name)
for w in wanted: visit(w)
for n in order: print(index[n])
