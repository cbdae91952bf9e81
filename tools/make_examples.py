#!/usr/bin/env python3
"""Writes the example springs in share/examples/ (input files, CP850, CR LF).

The files follow the input-file layout line by line; keep them reviewable by
editing the table below and running this script again.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'share', 'examples')


def real(x):
    # 7 decimals; whole numbers below 1 in the compact form.
    if x < 1 and abs(x - round(x)) <= 1e-10:
        return str(int(round(x)))
    return '%.7f' % x


def spring_file(s):
    lines = ['-' * 65, 'VELK - Spiralfedern', 'Version 3.4    Eingabedatei', 'Spiralfeder', '-' * 65]
    lines += [s['zeichname'] + '   Zeichn.Nr.: ' + s['zeichnr'], s['bemerk1'], s['bemerk2'],
              s['zeichname'], s['zeichnr'], '']
    for k in ('b', 't', 'n0', 'ri', 're', 'alpha1', 'alpha2', 'theta'):
        lines.append(real(s[k]))
    lines += [str(s.get('matNoFlat', 1)), str(s['formi']), str(s['forme'])]
    for k in ('li', 'le', 'rbi', 'rbe'):
        lines.append(real(s.get(k, 0)))
    lines += ['\u00c4NDERUNGEN', '0', '-' * 20, '||||||0||', '', '', '', '']
    lines += ['Dokumente', '5', '-' * 20]
    for _ in range(5):
        lines += ['NOTEPAD.EXE', '', '-' * 14]
    lines += [str(s['crossSection']), str(s.get('matNoRound', 3)), str(s['statdyn']), real(s.get('freq', 1)),
              s.get('kugelstrahlen', 'N')]
    return ('\r\n'.join(lines) + '\r\n').encode('cp850')


EXAMPLES = {
    # Power spring of a mechanical clock: C75S strip, both ends clamped, wound up in steps.
    'uhrfeder': dict(zeichname='Uhrfeder Federhaus', zeichnr='UF-100', bemerk1='Zugfeder eines Uhrwerks',
                     bemerk2='beide Enden eingespannt, statisch', b=6, t=0.25, n0=14, ri=4, re=20,
                     alpha1=360, alpha2=1440, theta=20, formi=1, forme=1, crossSection=1, statdyn=1),
    # Return spring of a flap: strip with the outer end bent into a hook.
    'rueckstellfeder': dict(zeichname='Rueckstellfeder Klappe', zeichnr='RF-210',
                            bemerk1='Band, Federende aussen abgebogen', bemerk2='statisch',
                            b=10, t=0.8, n0=5.5, ri=8, re=45, alpha1=30, alpha2=150, theta=40,
                            formi=1, forme=2, le=12, rbe=2, crossSection=1, statdyn=1),
    # Wire spiral spring of a cable reel moving 5 times per second: lifetime from the Goodman line.
    'drahtfeder_dynamisch': dict(zeichname='Drahtspiralfeder Rolle', zeichnr='DS-300',
                                 bemerk1='Federstahldraht DH, dynamisch', bemerk2='f = 5 Hz',
                                 b=20, t=2, n0=6.5, ri=10, re=60, alpha1=90, alpha2=340, theta=20,
                                 formi=1, forme=1, crossSection=2, matNoRound=3, statdyn=2, freq=5),
    # Shot-peened valve-wire spring: the material has fatigue values only for not peened wire.
    'drahtfeder_kugelgestrahlt': dict(zeichname='Ventilspiralfeder', zeichnr='VS-400',
                                      bemerk1='VDC kugelgestrahlt, Goodman angenaehert',
                                      bemerk2='dynamisch, f = 20 Hz', b=25, t=2.5, n0=5.25, ri=12,
                                      re=70, alpha1=60, alpha2=150, theta=60, formi=1, forme=1,
                                      crossSection=2, matNoRound=8, statdyn=2, freq=20, kugelstrahlen='J'),
    # A spring that breaks the limits: too many turns for its space and far too much angle.
    'grenzfall': dict(zeichname='Grenzfall Ueberlast', zeichnr='GF-999',
                      bemerk1='Windungen liegen an, Spannung zu hoch', bemerk2='Meldungen ansehen',
                      b=12, t=1.5, n0=18, ri=6, re=40, alpha1=720, alpha2=2160, theta=20,
                      formi=2, forme=1, li=3, rbi=1, crossSection=1, statdyn=1),
}

if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    for name, s in EXAMPLES.items():
        with open(os.path.join(OUT, name + '.vlk'), 'wb') as f:
            f.write(spring_file(s))
